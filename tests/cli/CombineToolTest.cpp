// quorvane-compare --combine as a script and a reader use it: reviewers named on the command line
// or by their copies, the change list in JSON with reviewers and conflicts, the word diff and the
// report naming each reviewer, combined jobs in a batch, and what it refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "Tool.h"
#include "support/Docx.h"
#include "support/Files.h"
#include "support/Programs.h"
#include "support/ReadText.h"

namespace fs = std::filesystem;
using docx::Text;

namespace {

class CombineTool : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string rest = Text("Payment is due within thirty days.") +
                                 Text("Either party may end it with notice.");
        WriteDocx(path("original.docx"), Text("The contract starts in May.") + rest);
        WriteDocx(path("ann.docx"), Text("The contract starts in June.") + rest);
        WriteDocx(path("bo.docx"), Text("The contract starts in July.") +
                                       Text("Payment is due within thirty days.") +
                                       Text("Either party may end it with written notice."));
        // Bo's copy says who last edited it.
        SetCoreProperties(path("bo.docx"), "<cp:lastModifiedBy>Bo Chen</cp:lastModifiedBy>");
    }

    std::string path(const std::string& name) const { return folder_.path() + "/" + name; }

    ProgramRun tool(const std::vector<std::string>& args) {
        return RunCapturing(ToolCommand(args), folder_.path());
    }

    TemporaryFolder folder_;
};

}  // namespace

TEST_F(CombineTool, JsonNamesEveryChangesReviewersAndTheChangesItConflictsWith) {
    const ProgramRun run = tool({"--combine", "original.docx", "--reviewer", "Ann Lee", "ann.docx",
                                 "bo.docx", "-o", "all.docx", "--json"});
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_NE(run.out.find("\"reviewers\": [{\"name\": \"Ann Lee\", \"copy\": \"ann.docx\"}, "
                           "{\"name\": \"Bo Chen\", \"copy\": \"bo.docx\"}]"),
              std::string::npos)
        << run.out;
    // Both changed the first paragraph: Ann's words and Bo's version name each other (both took
    // "May" away: one deletion under both names); Bo's other change stands alone.
    EXPECT_NE(run.out.find("{\"id\": 1, \"kind\": \"deletion\", \"part\": \"body\", \"text\": "
                           "\"May\", \"reviewers\": [\"Ann Lee\", \"Bo Chen\"], "
                           "\"conflicts_with\": [3]"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("{\"id\": 3, \"kind\": \"insertion\", \"part\": \"body\", \"text\": "
                           "\"The contract starts in July.\", \"reviewers\": [\"Bo Chen\"], "
                           "\"conflicts_with\": [1, 2]"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"text\": \"written \", \"reviewers\": [\"Bo Chen\"], "
                           "\"conflicts_with\": []"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(redline::ReadText(path("all.docx"), redline::Reading::RejectAll),
              redline::ReadText(path("original.docx"), redline::Reading::AcceptAll));
}

TEST_F(CombineTool, TheWordDiffAndTheReportNameEachReviewer) {
    const ProgramRun text =
        tool({"--combine", "original.docx", "ann.docx", "bo.docx", "--text", "--report", "r.html"});
    ASSERT_EQ(text.exit, 0) << text.err;
    // Ann's copy names nobody: its file does.
    EXPECT_NE(text.out.find("The contract starts in (ann)[-May-]{+June+}."), std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("(Bo Chen){+The contract starts in July.+}"), std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("Either party may end it with (Bo Chen){+written +}notice."),
              std::string::npos)
        << text.out;
    const std::string page = ReadFile(path("r.html"));
    EXPECT_NE(page.find("<title>Changes to original.docx by 2 reviewers</title>"),
              std::string::npos);
    EXPECT_NE(page.find("<caption>Changes by reviewer</caption>"), std::string::npos);
    // Each reviewer's changes in the reviewer's colour, and named.
    EXPECT_NE(page.find("<del class=\"r0\" title=\"deleted by ann\""), std::string::npos) << page;
    EXPECT_NE(page.find("<ins class=\"r1\" title=\"inserted by Bo Chen\""), std::string::npos);
    EXPECT_NE(page.find("by Bo Chen: “The contract starts in July.” <span class=\"conflict\">"
                        "conflicts with <a href=\"#item-1\">1</a>, <a href=\"#item-2\">2</a>"),
              std::string::npos);

    // With one reviewer, nobody needs naming in the word diff.
    const ProgramRun one = tool({"--combine", "original.docx", "bo.docx", "--text"});
    ASSERT_EQ(one.exit, 0) << one.err;
    EXPECT_EQ(one.out.find("(Bo Chen)"), std::string::npos) << one.out;
    EXPECT_NE(one.out.find("{+July+}"), std::string::npos) << one.out;
}

TEST_F(CombineTool, RefusesWhatCannotBeCombined) {
    struct Case {
        std::vector<std::string> args;
        std::string says;
    };
    const std::vector<Case> cases = {
        {{"--combine", "original.docx", "-o", "all.docx"}, "at least one reviewer's copy"},
        {{"--combine", "original.docx", "ann.docx", "./ann.docx", "-o", "all.docx"},
         "are one file"},
        {{"original.docx", "--reviewer", "Ann", "ann.docx", "-o", "all.docx"},
         "--reviewer goes with --combine"},
        {{"--combine", "--reviewer", "Ann", "original.docx", "ann.docx", "-o", "all.docx"},
         "not the original"},
        {{"--combine", "original.docx", "ann.docx", "--reviewer", "Bo", "-o", "all.docx"},
         "names no copy after it"},
        {{"--combine", "original.docx", "ann.docx", "bo.docx", "-o", "bo.docx"},
         "is the reviewer's copy \"bo.docx\" itself"},
    };
    const std::string bo = ReadFile(path("bo.docx"));
    for (const Case& c : cases) {
        const ProgramRun run = tool(c.args);
        EXPECT_EQ(run.exit, 2) << c.says;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(path("all.docx"))) << c.says;
    }
    EXPECT_EQ(ReadFile(path("bo.docx")), bo);

    // A copy that cannot be read is named, with the exit code of a bad input.
    WriteFile(path("broken.docx"), "not a zip at all");
    const ProgramRun broken =
        tool({"--combine", "original.docx", "ann.docx", "broken.docx", "-o", "all.docx"});
    EXPECT_EQ(broken.exit, 3) << broken.err;
    EXPECT_NE(broken.err.find("broken.docx"), std::string::npos) << broken.err;
    EXPECT_FALSE(fs::exists(path("all.docx")));
}

TEST_F(CombineTool, ABatchLineWithSeveralCopiesCombinesThem) {
    WriteFile(path("jobs.tsv"),
              "original.docx\tann.docx\tbo.docx\tall.docx\n"
              "original.docx\tann.docx\tpair.docx\n");
    const ProgramRun batch = tool({"--batch", "jobs.tsv"});
    ASSERT_EQ(batch.exit, 0) << batch.err;
    const std::string all = redline::ReadText(path("all.docx"), redline::Reading::AcceptAll);
    EXPECT_NE(all.find("June"), std::string::npos) << all;
    EXPECT_NE(all.find("July"), std::string::npos) << all;
    EXPECT_NE(all.find("written notice"), std::string::npos) << all;
    EXPECT_EQ(redline::ReadText(path("pair.docx"), redline::Reading::AcceptAll),
              redline::ReadText(path("ann.docx"), redline::Reading::AcceptAll));
}
