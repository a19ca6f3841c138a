// quorvane-compare as a script runs it on Word 2007+ documents: an input is never overwritten by
// the result, and every failure keeps a file already under the result's name as it was.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "Tool.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/Programs.h"

namespace fs = std::filesystem;
using docx::Text;

namespace {

class CommandLine : public ::testing::Test {
  protected:
    void SetUp() override {
        original_ = folder_.path() + "/report.docx";
        revised_ = folder_.path() + "/report-v2.docx";
        WriteDocx(original_, Text("The quick brown fox jumps over the lazy dog."));
        WriteDocx(revised_, Text("The quick red fox jumps over the lazy dog."));
        originalBytes_ = ReadFile(original_);
        revisedBytes_ = ReadFile(revised_);
    }

    // Runs the tool in the test's folder.
    ProgramRun tool(const std::vector<std::string>& args) {
        return RunCapturing(ToolCommand(args), folder_.path());
    }

    // The inputs are as they were, and nothing half-written lies beside them.
    void expectUntouched(const std::string& what) {
        EXPECT_EQ(ReadFile(original_), originalBytes_) << what;
        EXPECT_EQ(ReadFile(revised_), revisedBytes_) << what;
        for (const auto& entry : fs::recursive_directory_iterator(folder_.path())) {
            EXPECT_EQ(entry.path().filename().string().find(".part-"), std::string::npos)
                << what << ": " << entry.path();
        }
    }

    TemporaryFolder folder_;
    std::string original_, revised_, originalBytes_, revisedBytes_;
};

}  // namespace

TEST_F(CommandLine, RefusesAResultThatIsAnInputHoweverItIsSpelt) {
    fs::create_directory(folder_.path() + "/sub");
    fs::create_symlink("report.docx", folder_.path() + "/link.docx");
    fs::create_hard_link(revised_, folder_.path() + "/hard.docx");
    const std::vector<std::pair<std::string, std::string>> spellings = {
        {"report.docx", "report.docx"},        {"./report.docx", "report.docx"},
        {"sub/../report.docx", "report.docx"}, {original_, "report.docx"},
        {"link.docx", "report.docx"},          {"report-v2.docx", "report-v2.docx"},
        {"hard.docx", "report-v2.docx"},
    };
    for (const auto& [result, input] : spellings) {
        const ProgramRun run = tool({"report.docx", "report-v2.docx", "-o", result, "--json"});
        EXPECT_EQ(run.exit, 2) << result;
        EXPECT_NE(run.err.find("\"" + result + "\""), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("\"" + input + "\""), std::string::npos) << run.err;
        EXPECT_NE(run.out.find("\"exit\": 2"), std::string::npos) << run.out;
        expectUntouched(result);
    }
    EXPECT_TRUE(fs::is_symlink(folder_.path() + "/link.docx"));
    // A report that is an input by another name: refused, the input kept.
    fs::create_symlink("report.docx", folder_.path() + "/link.html");
    const ProgramRun report =
        tool({"report.docx", "report-v2.docx", "--text", "--report", "link.html"});
    EXPECT_EQ(report.exit, 2) << report.err;
    EXPECT_NE(report.err.find("would overwrite \"report.docx\""), std::string::npos) << report.err;
    expectUntouched("report");

    // In a batch the job is refused and named; the others go on.
    WriteFile(folder_.path() + "/jobs.tsv",
              "report.docx\treport-v2.docx\tsub/../report-v2.docx\n"
              "report.docx\treport-v2.docx\tmarked.docx\n");
    const ProgramRun batch = tool({"--batch", "jobs.tsv"});
    EXPECT_EQ(batch.exit, 2) << batch.err;
    EXPECT_EQ(batch.out.rfind("done: 1, failed: 1, time: ", 0), 0u) << batch.out;
    EXPECT_NE(batch.err.find("line 1 ("), std::string::npos) << batch.err;
    EXPECT_NE(batch.err.find("\"report-v2.docx\" itself"), std::string::npos) << batch.err;
    EXPECT_GT(fs::file_size(folder_.path() + "/marked.docx"), 0u);
    expectUntouched("batch");
}

TEST_F(CommandLine, AFailedComparisonKeepsAnEarlierResultAndSaysWhatFailed) {
    const std::string result = folder_.path() + "/marked.docx";
    WriteFile(result, "an earlier result");
    const std::string damaged = folder_.path() + "/damaged.docx";
    // Damaged where only the engine looks: no office is started for it.
    WriteDocx(damaged, "", {{{"word/document.xml", "<w:document><w:body><w:p>"}}, {}});
    // A style that deleted content brings along is read from a styles part that is broken.
    const std::string brokenStyles = folder_.path() + "/broken styles.docx";
    WriteDocx(brokenStyles,
              docx::P(docx::R("A heading that goes"), "<w:pStyle w:val=\"Heading1\"/>") +
                  Text("A paragraph."),
              {{{"word/styles.xml", "<w:styles><w:style>"}}, {}});
    // Sound XML, but a main part a word processor shows only part of: said as such.
    const std::string twoBodies = folder_.path() + "/two bodies.docx";
    WriteDocx(twoBodies, "",
              {{{"word/document.xml", "<w:document><w:body/><w:body/></w:document>"}}, {}});
    struct Failure {
        std::vector<std::string> args;
        int exit;
        std::string says;
    };
    const std::vector<Failure> failures = {
        {{"report.docx", "damaged.docx", "-o", result},
         3,
         "The document \"damaged.docx\" is damaged and cannot be opened.\n"},
        {{"broken styles.docx", "report-v2.docx", "-o", result},
         3,
         "The document \"broken styles.docx\" is damaged and cannot be opened.\n"},
        {{"report.docx", "two bodies.docx", "-o", result},
         3,
         "The document \"two bodies.docx\" is damaged and cannot be compared: it holds two "
         "document bodies, where a Word document holds one.\n"},
        {{"report.docx", "missing.docx", "-o", result}, 3, "missing.docx"},
        {{"report.docx", "report-v2.docx", "-o", "no-such-folder/marked.docx"},
         4,
         "cannot write the result into"},
    };
    for (const Failure& failure : failures) {
        const ProgramRun run = tool(failure.args);
        EXPECT_EQ(run.exit, failure.exit) << run.err;
        EXPECT_NE(run.err.find(failure.says), std::string::npos) << run.err;
        EXPECT_EQ(ReadFile(result), "an earlier result") << run.err;
        expectUntouched(failure.args[1]);
    }
    if (geteuid() != 0) {  // root writes anywhere
        fs::create_directory(folder_.path() + "/closed");
        fs::permissions(folder_.path() + "/closed", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(tool({"report.docx", "report-v2.docx", "-o", "closed/marked.docx"}).exit, 4);
        fs::permissions(folder_.path() + "/closed", fs::perms::owner_all);
    }

    const ProgramRun done = tool({"report.docx", "report-v2.docx", "-o", "marked.docx"});
    EXPECT_EQ(done.exit, 0) << done.err;
    EXPECT_NE(ReadFile(result), "an earlier result");
}

TEST_F(CommandLine, NamesInAnyScriptAndPathsBeyondTheOldLimitWork) {
    // Greek, Japanese and an emoji (beyond the 16-bit plane), and a path of some 300 characters.
    const std::string unicode = "Ελληνικά 日本語 😀";
    std::string deep = folder_.path() + "/" + unicode;
    while (deep.size() < 300) deep += "/a folder with a long name to pass the old limit";
    fs::create_directories(deep);
    for (const std::string& folder : {folder_.path() + "/" + unicode, deep}) {
        fs::copy_file(original_, folder + "/αρχικό.docx");
        fs::copy_file(revised_, folder + "/改訂 😀.docx");
        const ProgramRun run =
            tool({folder + "/αρχικό.docx", folder + "/改訂 😀.docx", "-o",
                  folder + "/σημειωμένο.docx", "--report", folder + "/報告.html", "--json"});
        ASSERT_EQ(run.exit, 0) << run.err;
        EXPECT_NE(run.out.find("\"result\": \"" + folder + "/σημειωμένο.docx\""), std::string::npos)
            << run.out;
        EXPECT_EQ(run.out.find('\r'), std::string::npos) << "JSON has no carriage return";
        EXPECT_NE(run.out.find("\"text\": \"red\""), std::string::npos) << run.out;
        EXPECT_GT(fs::file_size(folder + "/σημειωμένο.docx"), 0u);
        EXPECT_NE(ReadFile(folder + "/報告.html").find("改訂 😀.docx"), std::string::npos);

        // And the word diff, whose names and text pass through as UTF-8.
        const ProgramRun text = tool({folder + "/αρχικό.docx", folder + "/改訂 😀.docx", "--text"});
        EXPECT_NE(text.out.find("The quick [-brown-]{+red+} fox"), std::string::npos) << text.out;
    }
    expectUntouched("names");
}
