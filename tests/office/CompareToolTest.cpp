// quorvane-compare as a script would run it.
#include <sys/wait.h>

#include <filesystem>

#include "OfficeFixture.h"

namespace {

ProgramRun RunTool(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {QUORVANE_COMPARE_TOOL};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunCapturing(argv);
}

}  // namespace

TEST_F(OfficeTest, ToolStoresTheResultAndPrintsTheCounts) {
    for (const char* extension : {".docx", ".odt", ".doc", ".pdf"}) {
        const std::string result = folder_->path() + "/tool result #1" + extension;
        const ProgramRun run = RunTool({docs_->originalDocx, docs_->revisedDocx, "-o", result});
        EXPECT_EQ(run.exit, 0) << run.err;
        EXPECT_EQ(run.out, "insertions: 2\ndeletions: 2\nmoves: 0\nformatting changes: 0\n");
        EXPECT_GT(std::filesystem::file_size(result), 0u) << extension;
    }
    const ProgramRun json = RunTool(
        {"--json", docs_->originalDoc, docs_->revisedDoc, "-o", folder_->path() + "/r\"q.odt"});
    EXPECT_EQ(
        json.out.rfind("{\"insertions\": 2, \"deletions\": 2, \"moves\": 0, \"formatting\": 0, "
                       "\"result\": \"" +
                           folder_->path() + "/r\\\"q.odt\", \"settings\": {\"formatting\": true, ",
                       0),
        0u)
        << json.out;
    EXPECT_NE(json.out.find("{\"kind\": \"deletion\", \"part\": \"body\", \"text\": \"brown\", "
                            "\"tracked_by\": null, \"paragraph\": 1}"),
              std::string::npos)
        << json.out;
}

TEST_F(OfficeTest, ToolExitCodesTellUsageFromBadInputAndLeaveNoResult) {
    const std::string result = folder_->path() + "/never.docx";
    EXPECT_EQ(RunTool({docs_->originalDocx}).exit, 2);
    EXPECT_EQ(RunTool({docs_->originalDocx, docs_->revisedDocx}).exit, 2);
    EXPECT_EQ(RunTool({docs_->originalDocx, docs_->revisedDocx, "-o", "x.txt"}).exit, 2);
    EXPECT_EQ(RunTool({"--bogus"}).exit, 2);
    const ProgramRun help = RunTool({"--help"});
    EXPECT_EQ(help.exit, 0);
    EXPECT_NE(help.out.find("Exit codes"), std::string::npos);

    const ProgramRun bad = RunTool({docs_->originalDocx, docs_->damagedDocx, "-o", result});
    EXPECT_EQ(bad.exit, 3);
    EXPECT_EQ(bad.err, "quorvane-compare: The document \"" + docs_->damagedDocx +
                           "\" is damaged and cannot be opened.\n");
    EXPECT_FALSE(std::filesystem::exists(result));
    // With --json, what failed as an object too; never a raw engine text in the message.
    const ProgramRun json =
        RunTool({"--json", docs_->plainTextAsDocx, docs_->revisedDocx, "-o", result});
    EXPECT_EQ(json.exit, 3);
    EXPECT_EQ(json.out.rfind("{\"error\": \"\\\"" + docs_->plainTextAsDocx +
                                 "\\\" is not a Word document.\", \"detail\": ",
                             0),
              0u)
        << json.out;
    for (const char* raw : {"file://", "Exception", "com.sun"}) {
        EXPECT_EQ(json.err.find(raw), std::string::npos) << json.err;
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder_->path())) {
        EXPECT_EQ(entry.path().filename().string().find(".part-"), std::string::npos);
    }
    EXPECT_EQ(RunTool({docs_->originalDocx, docs_->revisedDocx, "-o", "/nonexistent/r.docx"}).exit,
              4);
}

TEST_F(OfficeTest, TwoCopiesComparingAtTheSameTimeBothWork) {
    std::vector<int> pids;
    std::vector<std::string> results;
    for (const char* name : {"/together-1.odt", "/together-2.odt"}) {
        results.push_back(folder_->path() + name);
        pids.push_back(StartProgram({QUORVANE_COMPARE_TOOL, docs_->originalDocx, docs_->revisedDocx,
                                     "-o", results.back()}));
    }
    for (std::size_t i = 0; i < pids.size(); ++i) {
        int status = -1;
        ASSERT_GT(pids[i], 0);
        waitpid(pids[i], &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        EXPECT_TRUE(std::filesystem::exists(results[i]));
    }
}

TEST_F(OfficeTest, ABatchNamesTheJobThatFailedAndStoresTheOthers) {
    const std::string batch = folder_->path() + "/jobs.tsv";
    const std::string out = folder_->path() + "/batch-";
    WriteFile(batch, "# original\trevised\tresult\n" + docs_->originalDocx + "\t" +
                         docs_->revisedDocx + "\t" + out + "1.docx\n\n" + docs_->originalDoc +
                         "\t" + docs_->revisedDoc + "\t" + out + "2.odt\n" + docs_->originalDocx +
                         "\t" + docs_->damagedDocx + "\t" + out + "3.docx\n" + docs_->revisedDocx +
                         "\t" + docs_->originalDocx + "\t" + out + "4.pdf\n");
    const ProgramRun run = RunTool({"--batch", batch, "-j", "2"});
    EXPECT_EQ(run.exit, 3) << run.err;
    EXPECT_EQ(run.out.rfind("done: 3, failed: 1, time: ", 0), 0u) << run.out;
    EXPECT_NE(run.err.find("line 5 ("), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("is damaged and cannot be opened."), std::string::npos) << run.err;
    for (const char* made : {"1.docx", "2.odt", "4.pdf"}) {
        EXPECT_GT(std::filesystem::file_size(out + made), 0u) << made;
    }
    EXPECT_FALSE(std::filesystem::exists(out + "3.docx"));

    WriteFile(batch, docs_->originalDocx + " " + docs_->revisedDocx + " x.docx\n");
    const ProgramRun malformed = RunTool({"--batch", batch});
    EXPECT_EQ(malformed.exit, 2);
    EXPECT_NE(malformed.err.find("line 1 of"), std::string::npos) << malformed.err;
}

// Copies in any format the office reads combine, and the result is stored in any format it
// writes: a Word 97-2003 copy beside a Word 2007+ one, the result in Writer's own format.
TEST_F(OfficeTest, ToolCombinesCopiesOfAnyFormatIntoAnyFormat) {
    const std::string result = folder_->path() + "/combined.odt";
    const ProgramRun run =
        RunTool({"--combine", docs_->originalDocx, "--reviewer", "Ann", docs_->revisedDoc,
                 "--reviewer", "Bo", docs_->additionsDocx, "-o", result, "--json"});
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_NE(run.out.find("\"reviewers\": [{\"name\": \"Ann\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("{\"name\": \"Bo\""), std::string::npos) << run.out;
    EXPECT_GT(std::filesystem::file_size(result), 0u);
}
