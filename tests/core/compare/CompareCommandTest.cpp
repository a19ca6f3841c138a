#include <gtest/gtest.h>

#include "app/errors/ReportError.h"
#include "compare/CompareCommand.h"
#include "support/ScriptedHost.h"
#include "support/ScriptedPrompts.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kQuestion =
    "Word may be open. It is recommended that you close Word first. Use Ctrl+Alt+Del > Task "
    "Manager > WINWORD.EXE if necessary.\r\n\r\nWould you like to proceed anyway?";

struct Boxes : DocumentPaths {
    std::string text1, text2;
    std::string documentToCompare() const override { return text1; }
    std::string documentToCompareWith() const override { return text2; }
};

class StartComparing : public ::testing::Test {
  protected:
    void click() { command.PushButton5_Click(); }
    bool wordWasCreated() const {
        for (const auto& line : host.calls()) {
            if (line == "create Word.Application") return true;
        }
        return false;
    }
    Boxes boxes;
    ScriptedHost host;
    ScriptedPrompts prompts;
    Word1 word1{host, prompts};
    CompareCommand command{boxes, word1, prompts};
};

}  // namespace

TEST_F(StartComparing, AnEmptyOrBlankBoxAsksForBothFilesAndLeavesWordAlone) {
    const std::vector<std::pair<std::string, std::string>> inputs = {
        {"", "/b.doc"}, {"/a.doc", ""}, {"   ", "/b.doc"}, {"/a.doc", "  "}, {"", ""}};
    for (const auto& [first, second] : inputs) {
        ScriptedHost untouched;
        ScriptedPrompts shown;
        Word1 w(untouched, shown);
        Boxes b;
        b.text1 = first;
        b.text2 = second;
        CompareCommand c(b, w, shown);
        c.PushButton5_Click();
        EXPECT_EQ(shown.texts(), (Lines{"Please input word file to compare and to compare with."}));
        EXPECT_EQ(shown.shown()[0].kind, "inform");
        EXPECT_TRUE(untouched.calls().empty());
        EXPECT_FALSE(c.IsComparing());
    }
}

TEST_F(StartComparing, ATabCountsAsFilledAndGoesOnToWord) {
    boxes.text1 = "\t";
    boxes.text2 = "/b.doc";
    click();
    EXPECT_TRUE(wordWasCreated());
    EXPECT_EQ(prompts.texts(), (Lines{"Done."}));
}

TEST_F(StartComparing, PathsReachWordWithTheirSpaces) {
    boxes.text1 = "  /a.doc ";
    boxes.text2 = " /b.doc";
    click();
    // After the running-Word lookup: create, Documents, Open, DisplayAlerts, Merge.
    EXPECT_EQ(host.calls()[3], "documents.Open(Text& \"  /a.doc \")");
    EXPECT_EQ(host.calls()[5].rfind("document.Merge(filename:=Text& \" /b.doc\",", 0), 0u);
}

TEST_F(StartComparing, WordNotRunningComparesThenSaysDoneInTheApplicationTitle) {
    boxes.text1 = "/a.doc";
    boxes.text2 = "/b.doc";
    prompts.setApplicationTitle("Quorvane Paired Office Paper Examiners");
    click();
    EXPECT_EQ(host.calls().front(), "getActive Word.Application");
    EXPECT_TRUE(wordWasCreated());
    ASSERT_EQ(prompts.shown().size(), 1u);
    EXPECT_EQ(prompts.shown()[0].text, "Done.");
    EXPECT_EQ(prompts.shown()[0].kind, "inform");
    EXPECT_EQ(prompts.shown()[0].title, "Quorvane Paired Office Paper Examiners");
    EXPECT_FALSE(command.IsComparing());
}

TEST_F(StartComparing, WordRunningAndTheAnswerNoEndsTheCommandQuietly) {
    boxes.text1 = "/a.doc";
    boxes.text2 = "/b.doc";
    host.setRunning(automation::Variant::text("Microsoft Word"));
    prompts.answers = {Prompts::Answer::No};
    click();
    EXPECT_EQ(prompts.texts(), (Lines{kQuestion}));
    EXPECT_EQ(prompts.shown()[0].kind, "ask");
    EXPECT_FALSE(wordWasCreated());
    EXPECT_FALSE(command.IsComparing());
}

TEST_F(StartComparing, WordRunningAndTheAnswerYesMakesANewInstance) {
    boxes.text1 = "/a.doc";
    boxes.text2 = "/b.doc";
    host.setRunning(automation::Variant::text("Microsoft Word"));
    prompts.answers = {Prompts::Answer::Yes};
    click();
    EXPECT_EQ(prompts.texts(), (Lines{kQuestion, "Done."}));
    EXPECT_TRUE(wordWasCreated());
    // The running copy is only asked its name; the comparison uses the new instance.
    const auto touchesRunning = [](const std::string& line) {
        return line.rfind("running.", 0) == 0;
    };
    EXPECT_EQ(std::count_if(host.calls().begin(), host.calls().end(), touchesRunning), 1);
}

TEST_F(StartComparing, ARunningObjectWithAnotherNameAsksNothing) {
    boxes.text1 = "/a.doc";
    boxes.text2 = "/b.doc";
    host.setRunning(automation::Variant::text("Writer"));
    click();
    EXPECT_EQ(prompts.texts(), (Lines{"Done."}));
}

TEST_F(StartComparing, WordThatCannotStartGivesSixReportsAndThenDone) {
    boxes.text1 = "/a.doc";
    boxes.text2 = "/b.doc";
    host.fail("create", "cannot create");
    click();
    ASSERT_EQ(prompts.shown().size(), 7u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_NE(prompts.texts()[i].find("in Vantrel2021/08/31.Word1.CompareDocFiles at line " +
                                          std::to_string(100 + 2 * i)),
                  std::string::npos);
    }
    EXPECT_EQ(prompts.texts()[6], "Done.");
    EXPECT_FALSE(command.IsComparing());
}

TEST_F(StartComparing, ASecondClickDuringAComparisonDoesNothing) {
    boxes.text1 = "/a.doc";
    boxes.text2 = "/b.doc";
    std::size_t callsBefore = 0;
    host.during("document.Merge", [&] {
        EXPECT_TRUE(command.IsComparing());
        callsBefore = host.calls().size();
        command.PushButton5_Click();
        EXPECT_EQ(host.calls().size(), callsBefore);
        EXPECT_TRUE(prompts.shown().empty());
    });
    click();
    EXPECT_EQ(prompts.texts(), (Lines{"Done."}));
    EXPECT_EQ(std::count(host.calls().begin(), host.calls().end(), "create Word.Application"), 1);
    EXPECT_FALSE(command.IsComparing());
}

// A failure while asking whether Word runs (line 106) is reported by the command, which then
// goes on to compare, as if the answer had been to proceed.
TEST_F(StartComparing, AFailingQuestionIsReportedAsLine106AndTheComparisonStillRuns) {
    boxes.text1 = "/a.doc";
    boxes.text2 = "/b.doc";
    host.setRunning(automation::Variant::text("Microsoft Word"));
    prompts.onShow = [](const ScriptedPrompts::Shown& shown) {
        if (shown.kind == "ask") throw std::runtime_error("The message box could not be shown.");
    };
    click();
    EXPECT_EQ(prompts.texts().at(1),
              ErrorReportText(kPushButton5Location, 106, "The message box could not be shown."));
    EXPECT_TRUE(wordWasCreated());
    EXPECT_EQ(prompts.texts().back(), "Done.");
    EXPECT_FALSE(command.IsComparing());
}

TEST_F(StartComparing, FailuresOfTheMessagesAreReportedAndTheFlagIsStillCleared) {
    struct Case {
        std::string first, failingText;
        int line;
    };
    const std::vector<Case> cases = {
        {"/a.doc", "Done.", 116},
        {"", "Please input word file to compare and to compare with.", 118}};
    for (const Case& c : cases) {
        ScriptedHost h;
        ScriptedPrompts p;
        Word1 w(h, p);
        Boxes b;
        b.text1 = c.first;
        b.text2 = "/b.doc";
        CompareCommand cmd(b, w, p);
        p.onShow = [&](const ScriptedPrompts::Shown& shown) {
            if (shown.text == c.failingText) throw std::runtime_error("no display");
        };
        cmd.PushButton5_Click();
        EXPECT_EQ(p.texts().back(), ErrorReportText(kPushButton5Location, c.line, "no display"));
        EXPECT_FALSE(cmd.IsComparing());
    }
}

TEST(TrimSpaces, RemovesSpacesOnlyFromBothEnds) {
    EXPECT_EQ(TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(TrimSpaces("\t"), "\t");
    EXPECT_EQ(TrimSpaces(" \ta\t "), "\ta\t");
    EXPECT_EQ(TrimSpaces("    "), "");
    EXPECT_EQ(TrimSpaces(""), "");
}
