#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "OfficeFixture.h"
#include "WriterReadback.h"
#include "automation/Error.h"
#include "compare/Word1.h"
#include "office/OfficeHost.h"
#include "office/OfficeProcess.h"
#include "support/ScriptedPrompts.h"

using office::WriterSession;

namespace {

#define kTestData QUORVANE_SOURCE_DIR "/tests/office/data"
const std::string kEncryptedDocx = kTestData "/encrypted.docx";

RedlineCounts Compare(WriterSession& session, const std::string& first, const std::string& second) {
    auto original = session.open(first);
    auto result = session.compare(original, second);
    session.close(original);
    return CountRedlines(session, result);
}

// Whether thread `tid` of this process is asleep, as a call blocked on the office is.
bool ThreadSleeps(pid_t tid) {
    return office::StateInProc("/proc/self/task/" + std::to_string(tid) + "/stat") == 'S';
}

}  // namespace

TEST_F(OfficeTest, MarksTheRevisionsOfTheSecondDocumentAgainstTheFirst) {
    const std::string originalBytes = ReadFile(docs_->originalDocx);
    const std::string revisedBytes = ReadFile(docs_->revisedDoc);
    WriterSession session(Headless());
    const RedlineCounts docx = Compare(session, docs_->originalDocx, docs_->revisedDocx);
    EXPECT_EQ(docx.insertions, 2);
    EXPECT_EQ(docx.deletions, 2);
    const RedlineCounts doc = Compare(session, docs_->originalDoc, docs_->revisedDoc);
    EXPECT_EQ(doc.insertions, 2);
    EXPECT_EQ(doc.deletions, 2);
    // The direction matters: a revision that only adds gives insertions only.
    const RedlineCounts additions = Compare(session, docs_->originalDocx, docs_->additionsDocx);
    EXPECT_EQ(additions.insertions, 2);
    EXPECT_EQ(additions.deletions, 0);
    const RedlineCounts same = Compare(session, docs_->originalDocx, docs_->originalDocx);
    EXPECT_EQ(same.insertions + same.deletions + same.other, 0);
    EXPECT_EQ(ReadFile(docs_->originalDocx), originalBytes);
    EXPECT_EQ(ReadFile(docs_->revisedDoc), revisedBytes);
}

TEST_F(OfficeTest, PathsWithBlanksHashPercentQuestionMarkAndAccentsWork) {
    WriterSession session(Headless());
    const RedlineCounts counts = Compare(session, docs_->awkwardlyNamedDocx, docs_->revisedDocx);
    EXPECT_EQ(counts.insertions, 2);
    EXPECT_EQ(counts.deletions, 2);
    const RedlineCounts reverse = Compare(session, docs_->revisedDocx, docs_->awkwardlyNamedDocx);
    EXPECT_EQ(reverse.insertions, 2);
}

TEST_F(OfficeTest, EveryBadDocumentIsNamedWithWhatIsWrong) {
    const TestDocuments& d = *docs_;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {d.missingDocx, "The document \"" + d.missingDocx + "\" was not found."},
        {d.subfolder, "\"" + d.subfolder + "\" is a folder, not a document."},
        {d.emptyDocx, "The document \"" + d.emptyDocx + "\" is empty."},
        {d.plainTextAsDocx, "\"" + d.plainTextAsDocx + "\" is not a Word document."},
        {d.pictureAsDocx, "\"" + d.pictureAsDocx + "\" is not a Word document."},
        {d.damagedDocx, "The document \"" + d.damagedDocx + "\" is damaged and cannot be opened."},
        {encryptedOdt_,
         "The document \"" + encryptedOdt_ +
             "\" is protected by a password. Remove the password, save it, and try again."},
        {encryptedDoc_,
         "The document \"" + encryptedDoc_ +
             "\" is protected by a password. Remove the password, save it, and try again."},
        // A Word 2007+ document with a password: an OLE container with an encrypted package
        // (tests/office/data/README.md says how it was made).
        {kEncryptedDocx,
         "The document \"" + kEncryptedDocx +
             "\" is protected by a password. Remove the password, save it, and try again."},
    };
    WriterSession session(Headless());
    auto original = session.open(d.originalDocx);
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(FailureOf([&] { session.open(path); }), expected) << "as the first document";
        EXPECT_EQ(FailureOf([&] { session.compare(original, path); }), expected)
            << "as the second document";
    }
    // Word documents older than Word 97 that the office reads are compared like any other.
    for (const std::string old : {kTestData "/word6.doc", kTestData "/word2.doc"}) {
        EXPECT_EQ(FailureOf([&] { session.compare(session.open(old), d.originalDocx); }),
                  "(no failure)")
            << old;
    }
    // The session is still good after all of that.
    EXPECT_EQ(CountRedlines(session, session.compare(original, d.revisedDocx)).insertions, 2);
}

TEST_F(OfficeTest, AStoredResultKeepsItsTrackedChanges) {
    WriterSession session(Headless());
    auto result = session.compare(session.open(docs_->originalDocx), docs_->revisedDocx);
    const std::string stored = folder_->path() + "/stored result.docx";
    session.store(result, stored, "MS Word 2007 XML");
    // Opened as a first document it carries the same marks.
    const RedlineCounts reopened = CountRedlines(session, session.open(stored));
    EXPECT_EQ(reopened.insertions, 2);
    EXPECT_EQ(reopened.deletions, 2);
}

TEST_F(OfficeTest, AnOfficeThatHangsIsStoppedAtTheTimeLimit) {
    office::SessionOptions options = Headless();
    options.limits.call = std::chrono::seconds(2);
    WriterSession session(options);
    auto original = session.open(docs_->originalDocx);
    const int pid = session.pid();
    kill(pid, SIGSTOP);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FailureOf([&] { session.compare(original, docs_->revisedDocx); }),
              "The word processor did not answer within 2 seconds while comparing \"" +
                  docs_->originalDocx + "\" with \"" + docs_->revisedDocx + "\", and was stopped.");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_TRUE(WaitUntil([pid] { return !office::ProcessRunning(pid); }, std::chrono::seconds(5)));
    EXPECT_EQ(FailureOf([&] { session.open(docs_->originalDocx); }),
              "The word processor is no longer running. Start the comparison again.");
    // A new instance works.
    WriterSession next(Headless());
    EXPECT_EQ(Compare(next, docs_->originalDocx, docs_->revisedDocx).insertions, 2);
}

TEST_F(OfficeTest, AnOfficeKilledMidCallIsReportedAsStoppedUnexpectedly) {
    WriterSession session(Headless());
    auto original = session.open(docs_->originalDocx);
    const int pid = session.pid();
    // Frozen first, so the call blocks; killed once this thread sleeps in it.
    kill(pid, SIGSTOP);
    const pid_t caller = gettid();
    std::thread killer([pid, caller] {
        WaitUntil([caller] { return ThreadSleeps(caller); });
        kill(pid, SIGKILL);
    });
    EXPECT_EQ(FailureOf([&] { session.compare(original, docs_->revisedDocx); }),
              "The word processor stopped unexpectedly while comparing \"" + docs_->originalDocx +
                  "\" with \"" + docs_->revisedDocx + "\".");
    killer.join();
}

TEST_F(OfficeTest, QuittingOneInstanceLeavesAnotherWorking) {
    WriterSession first(Headless());
    WriterSession second(Headless());
    auto kept = second.open(docs_->originalDocx);
    EXPECT_NE(first.pid(), second.pid());
    const int firstPid = first.pid();
    first.quit();
    EXPECT_FALSE(office::ProcessRunning(firstPid));
    EXPECT_EQ(CountRedlines(second, second.compare(kept, docs_->revisedDocx)).deletions, 2);
}

TEST_F(OfficeTest, AnInstanceNobodyShowedEndsWithItsLastReference) {
    int pid = 0;
    {
        WriterSession session(Headless());
        pid = session.pid();
        session.open(docs_->originalDocx);
    }
    EXPECT_FALSE(office::ProcessRunning(pid));
}

TEST_F(OfficeTest, TheUsersOwnOfficeKeepsRunning) {
    TemporaryFolder home;
    const std::string letter = home.path() + "/letter.docx";
    std::filesystem::copy_file(docs_->originalDocx, letter);
    // The user's office: the default profile under their home folder, with a document open.
    // Through the launcher, which restarts the office once after setting up a new profile.
    const int userOffice =
        StartProgram({LIBREOFFICE_PROGRAM_DIR "/soffice", "--headless", "--norestore", letter},
                     {"HOME=" + home.path()});
    ASSERT_GT(userOffice, 0);
    // The office marks a document it has open with a lock file beside it.
    ASSERT_TRUE(
        WaitUntil([&] { return std::filesystem::exists(home.path() + "/.~lock.letter.docx#"); },
                  std::chrono::seconds(90)));
    ASSERT_TRUE(office::ProcessRunning(userOffice));
    {
        WriterSession session(Headless());
        EXPECT_EQ(Compare(session, docs_->originalDocx, docs_->revisedDocx).insertions, 2);
        session.quit();
    }
    EXPECT_TRUE(office::ProcessRunning(userOffice));
    kill(-userOffice, SIGKILL);
    waitpid(userOffice, nullptr, 0);
}

TEST_F(OfficeTest, AMissingOfficeSaysWhatToInstall) {
    office::SessionOptions options = Headless();
    options.programDir = "/nonexistent/libreoffice/program";
    const std::string failure = FailureOf([&] { WriterSession session(options); });
    EXPECT_EQ(failure.rfind("The word processor could not be started", 0), 0u) << failure;
    EXPECT_NE(failure.find("libreoffice-writer"), std::string::npos) << failure;
}

TEST_F(OfficeTest, EachOfficeFolderGetsItsOwnRuntimeAndTheEnvironmentStaysAsItWas) {
    { WriterSession session(Headless()); }
    EXPECT_EQ(std::getenv("URE_BOOTSTRAP"), nullptr);
    // A second office folder holds the program but not the runtime it needs.
    TemporaryFolder other;
    std::filesystem::create_symlink(LIBREOFFICE_PROGRAM_DIR "/soffice.bin",
                                    other.path() + "/soffice.bin");
    office::SessionOptions options = Headless();
    options.programDir = other.path();
    const std::string failure = FailureOf([&] { WriterSession session(options); });
    EXPECT_EQ(failure.rfind("The word processor could not be started: its runtime did not load", 0),
              0u)
        << failure;
}

TEST_F(OfficeTest, AnOfficeThatStopsWhileOpeningNamesTheDocumentAndTheNextComparisonWorks) {
    office::OfficeHost host(Headless());
    const auto before = OfficeProcesses();
    automation::Object word = host.create("Word.Application");
    word.defaultValue();  // started
    const std::set<int> ours = OfficesSince(before);
    ASSERT_EQ(ours.size(), 1u);
    const pid_t caller = gettid();
    std::thread killer([pid = *ours.begin(), caller] {
        WaitUntil([caller] { return ThreadSleeps(caller); });
        kill(pid, SIGKILL);
    });
    const std::string failure = FailureOf([&] {
        word.get("Documents").call("Open", {automation::Variant::textByRef(docs_->largeDocx)});
    });
    killer.join();
    EXPECT_EQ(failure, "The word processor stopped unexpectedly while opening \"" +
                           docs_->largeDocx + "\".");
    ScriptedPrompts prompts;
    Word1(host, prompts).CompareDocFiles(docs_->originalDocx, docs_->revisedDocx);
    EXPECT_TRUE(prompts.shown().empty()) << prompts.texts().front();
}
