// The automation model over real COM, against the fake "Word.Application" registered in the
// Wine prefix: what the program sends, call by call, as the server receives it.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>

#include "app/errors/ReportError.h"
#include "automation/Error.h"
#include "com/ComHost.h"
#include "com/ComText.h"
#include "compare/IsInstalled.h"
#include "compare/Word1.h"
#include "support/ScriptedPrompts.h"
#include "support/ScriptedServices.h"

namespace {

using Lines = std::vector<std::string>;

// A file in the current folder, which the test run sets to the build folder.
std::string LocalPath(const std::string& name) {
    wchar_t folder[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, folder);
    return com::Utf8(folder) + "\\" + name;
}

void SetEnv(const char* name, const std::string& value) {
    SetEnvironmentVariableW(com::Wide(name).c_str(),
                            value.empty() ? nullptr : com::Wide(value).c_str());
}

class ComTest : public ::testing::Test {
  protected:
    void SetUp() override {
        log_ = LocalPath(
            "fakeword-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".log");
        DeleteFileW(com::Wide(log_).c_str());
        SetEnv("QUORVANE_FAKE_WORD_LOG", log_);
        SetEnv("QUORVANE_FAKE_WORD_FAIL", "");
        SetEnv("QUORVANE_FAKE_WORD_NAME", "");
    }

    // The server's log, as lines.
    Lines log() const {
        std::ifstream in(com::Wide(log_).c_str());
        Lines lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    Lines releases() const {
        Lines found;
        for (const auto& line : log()) {
            if (line.rfind("release ", 0) == 0) found.push_back(line);
        }
        std::sort(found.begin(), found.end());
        return found;
    }

    com::ComHost host;
    ScriptedPrompts prompts;
    std::string log_;
};

// Runs the out-of-process fake as the running "Word.Application" for the life of the object.
class RunningFakeWord {
  public:
    explicit RunningFakeWord(const std::string& name) {
        SetEnv("QUORVANE_FAKE_WORD_NAME", name);
        ready_ = CreateEventW(nullptr, TRUE, FALSE, L"QuorvaneFakeWordReady");
        stop_ = CreateEventW(nullptr, TRUE, FALSE, L"QuorvaneFakeWordStop");
        std::wstring command = L"" FAKE_WORD_RUNNING L" QuorvaneFakeWordReady QuorvaneFakeWordStop";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process_);
        SetEnv("QUORVANE_FAKE_WORD_NAME", "");
        if (started_) WaitForSingleObject(ready_, 20000);
    }
    ~RunningFakeWord() {
        SetEvent(stop_);
        if (started_) {
            WaitForSingleObject(process_.hProcess, 20000);
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
        CloseHandle(ready_);
        CloseHandle(stop_);
    }
    bool started() const { return started_; }

  private:
    HANDLE ready_, stop_;
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

// Registers the fake server again, as the prefix holds it.
void RegisterFakeServer() {
    HMODULE dll = LoadLibraryW(L"" FAKE_WORD_DLL);
    ASSERT_NE(dll, nullptr);
    auto reg = reinterpret_cast<HRESULT(__stdcall*)()>(
        reinterpret_cast<void*>(GetProcAddress(dll, "DllRegisterServer")));
    ASSERT_EQ(reg(), S_OK);
}

// Without its in-process form, creating "Word.Application" reaches the running fake server in
// its own process, as it reaches Word.
class OutOfProcessOnly {
  public:
    OutOfProcessOnly() {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                       L"Software\\Classes\\CLSID\\{6F1D4C0A-8E8B-4C55-9B7E-2F4D5A6B7C81}"
                       L"\\InprocServer32");
    }
    ~OutOfProcessOnly() { RegisterFakeServer(); }
};

long Count(const Lines& lines, const std::string& wanted) {
    return std::count(lines.begin(), lines.end(), wanted);
}

}  // namespace

TEST_F(ComTest, CompareDocFilesSendsTheWholeSequenceWithItsTypes) {
    Word1(host, prompts).CompareDocFiles(" C:\\docs\\Übersicht a.doc ", "C:\\docs\\b.docx");
    EXPECT_TRUE(prompts.shown().empty()) << prompts.texts().front();
    Lines calls;
    for (const auto& line : log()) {
        if (line.rfind("release ", 0) != 0) calls.push_back(line);
    }
    EXPECT_EQ(calls, (Lines{
                         "create Application",
                         "Application.Documents",
                         "Documents.Open(VT_BYREF|VT_BSTR \" C:\\docs\\Übersicht a.doc \")",
                         "Application.DisplayAlerts = VT_I4 0",
                         "Document.Merge(FileName:=VT_BYREF|VT_BSTR \"C:\\docs\\b.docx\", "
                         "MergeTarget:=VT_I4 2, DetectFormatChanges:=VT_BOOL -1, "
                         "UseFormattingFrom:=VT_I4 2, AddToRecentFiles:=VT_BOOL 0)",
                         "Document.Close()",
                         "Application.Visible = VT_BOOL -1",
                     }));
    EXPECT_EQ(releases(), (Lines{"release Application", "release Document", "release Documents"}));
}

TEST_F(ComTest, AFailingMergeCarriesTheServersDescriptionAndReleasesEverything) {
    SetEnv("QUORVANE_FAKE_WORD_FAIL", "Merge=The second document is locked by another user.");
    Word1(host, prompts).CompareDocFiles("C:\\a.doc", "C:\\b.doc");
    EXPECT_EQ(prompts.texts(),
              (Lines{ErrorReportText(kCompareDocFilesLocation, 106,
                                     "The second document is locked by another user.")}));
    const Lines lines = log();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Document.Close()"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Application.Visible = VT_BOOL -1"),
              lines.end());
    EXPECT_EQ(releases(), (Lines{"release Application", "release Document", "release Documents"}));
}

TEST_F(ComTest, AnUnregisteredProgIdGivesTheSixReports) {
    // Take the registration away for this test and put it back afterwards.
    ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Word.Application"),
              ERROR_SUCCESS);
    Word1(host, prompts).CompareDocFiles("C:\\a.doc", "C:\\b.doc");
    RegisterFakeServer();
    ASSERT_EQ(prompts.shown().size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_NE(prompts.texts()[i].find("in Vantrel2021/08/31.Word1.CompareDocFiles at line " +
                                          std::to_string(100 + 2 * i)),
                  std::string::npos);
    }
    EXPECT_NE(prompts.texts()[0].find("Word.Application"), std::string::npos);
    EXPECT_EQ(prompts.texts()[1].rfind(automation::kObjectNotSet, 0), 0u);
}

TEST_F(ComTest, IsWordRunningOnlyForARunningObjectNamedMicrosoftWord) {
    EXPECT_FALSE(Word1(host, prompts).IsWordRunning());
    {
        RunningFakeWord running("Microsoft Word");
        ASSERT_TRUE(running.started());
        EXPECT_TRUE(Word1(host, prompts).IsWordRunning());
        prompts.answers = {Prompts::Answer::No};
        EXPECT_TRUE(Word1(host, prompts).ConfirmWordClosed());
        ASSERT_EQ(prompts.shown().size(), 1u);
        EXPECT_EQ(prompts.shown()[0].kind, "ask");
        EXPECT_EQ(prompts.texts()[0], kWordMayBeOpenQuestion);
    }
    {
        RunningFakeWord running("Writer");
        ASSERT_TRUE(running.started());
        EXPECT_FALSE(Word1(host, prompts).IsWordRunning());
    }
}

TEST_F(ComTest, UnknownMembersAndArgumentNamesAreNamedInTheError) {
    automation::Object word = host.create("Word.Application");
    try {
        word.call("Frobnicate");
        ADD_FAILURE();
    } catch (const automation::Error& e) {
        EXPECT_NE(e.description().find("Frobnicate"), std::string::npos) << e.description();
    }
    automation::Object doc =
        word.get("documents").call("OPEN", {automation::Variant::text("C:\\a.doc")}).toObject();
    try {
        doc.call("Merge", {}, {{"Bogus", automation::Variant::int32(1)}});
        ADD_FAILURE();
    } catch (const automation::Error& e) {
        EXPECT_NE(e.description().find("Bogus"), std::string::npos) << e.description();
    }
    EXPECT_EQ(word.defaultValue().toText(), "Microsoft Word");
}

TEST_F(ComTest, ABusyWordIsAskedAgainUntilItTakesTheCalls) {
    SetEnv("QUORVANE_FAKE_WORD_REJECT", "4");
    RunningFakeWord running("Microsoft Word");
    SetEnv("QUORVANE_FAKE_WORD_REJECT", "");
    ASSERT_TRUE(running.started());
    OutOfProcessOnly outOfProcess;
    Word1(host, prompts).CompareDocFiles("C:\\a.doc", "C:\\b.doc");
    EXPECT_TRUE(prompts.shown().empty()) << prompts.texts().front();
    const Lines lines = log();
    EXPECT_EQ(Count(lines, "refused a call"), 4);
    EXPECT_EQ(Count(lines, "Application.Visible = VT_BOOL -1"), 1);
}

TEST_F(ComTest, AWordBusyForLongerThanTheLimitIsReportedAsBusyWithoutAHang) {
    SetEnv("QUORVANE_FAKE_WORD_REJECT", "1000000");
    RunningFakeWord running("Microsoft Word");
    SetEnv("QUORVANE_FAKE_WORD_REJECT", "");
    ASSERT_TRUE(running.started());
    OutOfProcessOnly outOfProcess;
    com::ComHost impatient(std::chrono::seconds(1));
    automation::Object word = impatient.create("Word.Application");
    const DWORD start = GetTickCount();
    try {
        word.get("Documents");
        ADD_FAILURE() << "a refused call succeeded";
    } catch (const automation::Error& e) {
        EXPECT_EQ(e.description(), com::BusyServerDescription(std::chrono::seconds(1)));
    }
    EXPECT_LT(GetTickCount() - start, 10000u);
}

TEST_F(ComTest, TheStartUpCheckCreatesWordAndQuitsItOrSaysWhyAndEnds) {
    RecordingEnd end;
    CheckWordInstalled(host, prompts, end, false);
    EXPECT_TRUE(prompts.shown().empty());
    EXPECT_TRUE(end.exitCodes.empty());
    EXPECT_EQ(log(), (Lines{"create Application", "Application.Quit()", "release Application"}));

    ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Word.Application"),
              ERROR_SUCCESS);
    CheckWordInstalled(host, prompts, end, false);
    RegisterFakeServer();
    EXPECT_EQ(prompts.texts(), (Lines{WordNotCreatedMessage()}));
    EXPECT_EQ(end.exitCodes, (std::vector<int>{kNoWordExitCode}));
}

TEST(ComText, Utf8AndUtf16RoundTrip) {
    const std::string text = "Übersicht café ñ 文件 \"x\"";
    EXPECT_EQ(com::Utf8(com::Wide(text).c_str()), text);
    EXPECT_EQ(com::Wide(""), L"");
    EXPECT_EQ(com::DescribeResult(CO_E_CLASSSTRING),
              "Invalid class string: the class is not registered.");
    EXPECT_EQ(com::DescribeResult(static_cast<HRESULT>(0x80041234)).empty(), false);
}
