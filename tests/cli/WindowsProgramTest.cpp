// quorvane-compare.exe under Wine as a Windows user meets it: the same answers as the Linux
// program, and documents in other formats converted through Word over COM (the fake Word of the
// COM tests, registered in the prefix), or a clear word when there is no Word. Skipped unless
// the tests run the Windows program.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "Tool.h"
#include "redline/io/Package.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/Programs.h"

namespace fs = std::filesystem;
using namespace docx;

namespace {

// The same name in Windows' spelling: the Unix root is drive Z: under Wine.
std::string WindowsPath(const std::string& path) {
    std::string windows = "Z:" + path;
    for (char& c : windows) c = c == '/' ? '\\' : c;
    return windows;
}

// Every part of a package, with the times of its tracked changes left out.
std::map<std::string, std::string> PartsWithoutDates(const std::string& path) {
    const redline::Package package = redline::Package::Read(path);
    std::map<std::string, std::string> parts;
    const std::regex date("w:date=\"[^\"]*\"");
    for (const std::string& name : package.names()) {
        parts[name] = std::regex_replace(package.part(name), date, "w:date=\"\"");
    }
    return parts;
}

// Sets an environment variable for as long as it lives.
class Environment {
  public:
    Environment(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~Environment() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

class WindowsProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!WindowsTool()) GTEST_SKIP() << "the tests run the Linux program";
    }

    ProgramRun tool(const std::vector<std::string>& args, const std::string& folder) {
        return RunCapturing(ToolCommand(args), folder);
    }

    TemporaryFolder folder_;
};

}  // namespace

TEST_F(WindowsProgram, GivesTheLinuxProgramsJsonAndResult) {
    const std::string body = Text("A paragraph that stays.") + Text("The quick brown fox jumps.") +
                             Table({{"Name", "Town"}, {"Ada", "Paris"}}) +
                             Text("This one moves down.") + Text("Gone tomorrow.");
    const std::string revised = Text("A paragraph that stays.") + Text("The quick red fox jumps.") +
                                Table({{"Name", "Town"}, {"Ada", "Rome"}}) + Text("New today.") +
                                Text("This one moves down.");
    std::map<std::string, std::string> json;
    for (const std::string side : {"linux", "windows"}) {
        const std::string folder = folder_.path() + "/" + side;
        fs::create_directory(folder);
        WriteDocx(folder + "/a.docx", body, Header(Text("Draft")));
        WriteDocx(folder + "/b.docx", revised, Header(Text("Final")));
        std::vector<std::string> command = ToolCommand(
            {"a.docx", "b.docx", "-o", "marked.docx", "--json", "--author", "Reviewer"});
        if (side == "linux")
            command = {QUORVANE_COMPARE_TOOL, "a.docx", "b.docx",   "-o",
                       "marked.docx",         "--json", "--author", "Reviewer"};
        const ProgramRun run = RunCapturing(command, folder);
        ASSERT_EQ(run.exit, 0) << side << ": " << run.err;
        json[side] = run.out;
    }
    EXPECT_EQ(json["windows"], json["linux"]);
    EXPECT_NE(json["linux"].find("\"insertions\": "), std::string::npos);
    EXPECT_EQ(PartsWithoutDates(folder_.path() + "/windows/marked.docx"),
              PartsWithoutDates(folder_.path() + "/linux/marked.docx"));
}

TEST_F(WindowsProgram, ConvertsOtherFormatsThroughWordAndQuitsIt) {
    const std::string folder = folder_.path();
    // A Word 97 document, which the fake Word "converts" into the twin beside it.
    fs::copy_file(QUORVANE_SOURCE_DIR "/assets/Samples/sample1.doc", folder + "/old.doc");
    WriteDocx(folder + "/old.docx", Text("The quick brown fox jumps."));
    WriteDocx(folder + "/new.docx", Text("The quick red fox jumps."));
    const std::string log = folder + "/word.log";
    const Environment logged("QUORVANE_FAKE_WORD_LOG", WindowsPath(log));

    const ProgramRun run = tool({"old.doc", "new.docx", "-o", "marked.doc", "--json"}, folder);
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_NE(run.out.find("\"text\": \"brown\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"result\": \"marked.doc\""), std::string::npos) << run.out;
    EXPECT_TRUE(fs::exists(folder + "/marked.doc"));
    const std::string calls = ReadFile(log);
    for (const std::string& call : std::vector<std::string>{
             "Documents.Open(FileName:=VT_BSTR \"" + WindowsPath(folder) +
                 "\\old.doc\", ConfirmConversions:=VT_BOOL 0, ReadOnly:=VT_BOOL -1",
             "FileFormat:=VT_I4 12", "FileFormat:=VT_I4 0",
             "Application.Quit(SaveChanges:=VT_I4 0)", "release Application"}) {
        EXPECT_NE(calls.find(call), std::string::npos) << call << "\n" << calls;
    }
    // Nothing of the conversion is left beside the documents.
    std::set<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files.insert(entry.path().filename().string());
    }
    EXPECT_EQ(files,
              (std::set<std::string>{"marked.doc", "new.docx", "old.doc", "old.docx", "word.log"}));
}

TEST_F(WindowsProgram, WithoutWordDocxStillComparesAndTheOthersSayWhatTheyNeed) {
    const std::string folder = folder_.path();
    fs::copy_file(QUORVANE_SOURCE_DIR "/assets/Samples/sample1.doc", folder + "/old.doc");
    WriteDocx(folder + "/old.docx", Text("The quick brown fox jumps."));
    WriteDocx(folder + "/new.docx", Text("The quick red fox jumps."));
    // Word's server cannot be loaded: as on a machine without Word.
    const Environment noWord("WINEDLLOVERRIDES", "mscoree,mshtml,winedbg.exe,fakeword=d");

    const ProgramRun docx = tool({"old.docx", "new.docx", "-o", "marked.docx"}, folder);
    EXPECT_EQ(docx.exit, 0) << docx.err;
    const ProgramRun doc = tool({"old.doc", "new.docx", "-o", "marked2.docx"}, folder);
    EXPECT_EQ(doc.exit, 1);
    EXPECT_NE(doc.err.find("quorvane-compare: Microsoft Word could not be started, and it is "
                           "needed for documents that are not .docx (.doc, .rtf, .odt) and for a "
                           "result in another format; .docx documents compare without it.\n"),
              std::string::npos)
        << doc.err;
    EXPECT_FALSE(fs::exists(folder + "/marked2.docx"));
}
