#include <gtest/gtest.h>

#include "app/errors/ReportError.h"
#include "automation/Error.h"
#include "compare/Word1.h"
#include "support/ScriptedHost.h"
#include "support/ScriptedPrompts.h"

namespace {

using Lines = std::vector<std::string>;

std::string Report(int line, const std::string& description) {
    return ErrorReportText(kCompareDocFilesLocation, line, description);
}

class CompareDocFiles : public ::testing::Test {
  protected:
    void compare(const std::string& first = "/docs/first.doc",
                 const std::string& second = "/docs/second.docx") {
        Word1(host, prompts).CompareDocFiles(first, second);
    }
    ScriptedHost host;
    ScriptedPrompts prompts;
};

}  // namespace

TEST_F(CompareDocFiles, SendsTheWholeSequenceWithItsTypesAndShowsNothing) {
    compare(" /docs/a b.doc ", "/docs/b.doc");
    EXPECT_EQ(host.calls(),
              (Lines{
                  "create Word.Application",
                  "word.Documents",
                  "documents.Open(Text& \" /docs/a b.doc \")",
                  "word.DisplayAlerts = Int32 0",
                  "document.Merge(filename:=Text& \"/docs/b.doc\", MergeTarget:=Int32 2, "
                  "DetectFormatChanges:=Boolean -1, UseFormattingFrom:=Int32 2, "
                  "AddToRecentFiles:=Boolean 0)",
                  "document.Close()",
                  "word.Visible = Boolean -1",
              }));
    EXPECT_TRUE(prompts.shown().empty());
    EXPECT_EQ(host.liveObjects(), 0);
}

TEST_F(CompareDocFiles, BothPathsNamingTheSameFileRunAsUsual) {
    compare("/docs/same.doc", "/docs/same.doc");
    EXPECT_EQ(host.calls().size(), 7u);
    EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(CompareDocFiles, WordThatCannotStartGivesSixReportsThenReturns) {
    host.fail("create Word.Application", "ActiveX component can't create object");
    compare();
    const std::string notSet = automation::kObjectNotSet;
    EXPECT_EQ(prompts.texts(), (Lines{Report(100, "ActiveX component can't create object"),
                                      Report(102, notSet), Report(104, notSet), Report(106, notSet),
                                      Report(108, notSet), Report(110, notSet)}));
    for (const auto& shown : prompts.shown()) EXPECT_EQ(shown.title, "Application Error");
    EXPECT_EQ(host.calls(), (Lines{"create Word.Application"}));
}

TEST_F(CompareDocFiles, AFirstDocumentThatCannotOpenLeavesWordVisibleWithoutIt) {
    host.fail("documents.Open", "This file could not be found.");
    compare();
    const std::string notSet = automation::kObjectNotSet;
    EXPECT_EQ(prompts.texts(), (Lines{Report(102, "This file could not be found."),
                                      Report(106, notSet), Report(108, notSet)}));
    EXPECT_EQ(host.calls().back(), "word.Visible = Boolean -1");
    EXPECT_EQ(host.calls()[3], "word.DisplayAlerts = Int32 0");
}

TEST_F(CompareDocFiles, AFailedMergeStillClosesTheFirstDocumentAndShowsWord) {
    host.fail("document.Merge", "The second document is damaged.");
    compare();
    EXPECT_EQ(prompts.texts(), (Lines{Report(106, "The second document is damaged.")}));
    const Lines& calls = host.calls();
    ASSERT_EQ(calls.size(), 7u);
    EXPECT_EQ(calls[5], "document.Close()");
    EXPECT_EQ(calls[6], "word.Visible = Boolean -1");
}

TEST_F(CompareDocFiles, DisplayAlertsAndVisibleAreTheOnlyPropertyWritesAndComeInOrder) {
    compare();
    Lines writes;
    for (const auto& line : host.calls()) {
        if (line.find(" = ") != std::string::npos) writes.push_back(line);
    }
    EXPECT_EQ(writes, (Lines{"word.DisplayAlerts = Int32 0", "word.Visible = Boolean -1"}));
}

// Every step failing in turn: each is reported once with its own line, nothing leaves the
// routine, and no reference to a scripted object is still held afterwards.
TEST_F(CompareDocFiles, ReleasesEveryReferenceWhicheverStepFails) {
    const std::vector<std::pair<std::string, int>> failures = {
        {"create", 100},         {"word.Documents", 102},
        {"documents.Open", 102}, {"word.DisplayAlerts", 104},
        {"document.Merge", 106}, {"document.Close", 108},
        {"word.Visible", 110},
    };
    for (const auto& [prefix, line] : failures) {
        ScriptedHost failing;
        ScriptedPrompts shown;
        failing.fail(prefix, "refused");
        EXPECT_NO_THROW(Word1(failing, shown).CompareDocFiles("a.doc", "b.doc")) << prefix;
        ASSERT_FALSE(shown.texts().empty()) << prefix;
        EXPECT_EQ(shown.texts().front(), Report(line, "refused")) << prefix;
        EXPECT_EQ(failing.liveObjects(), 0) << prefix;
    }
}

TEST(IsWordRunning, OnlyARunningObjectNamedMicrosoftWordCounts) {
    struct Case {
        std::optional<automation::Variant> running;
        bool expected;
    };
    const std::vector<Case> cases = {
        {std::nullopt, false},
        {automation::Variant::text("Microsoft Word"), true},
        {automation::Variant::text("microsoft word"), false},
        {automation::Variant::text("Writer"), false},
        {automation::Variant::int32(0), false},
    };
    for (const Case& c : cases) {
        ScriptedHost host;
        ScriptedPrompts prompts;
        if (c.running) host.setRunning(*c.running);
        EXPECT_EQ(Word1(host, prompts).IsWordRunning(), c.expected);
        EXPECT_EQ(host.liveObjects(), 0);
        for (const auto& line : host.calls()) EXPECT_EQ(line.rfind("create", 0), std::string::npos);
    }
}

TEST(IsWordRunning, AFailingNameReadAnswersFalseSilently) {
    ScriptedHost host;
    ScriptedPrompts prompts;
    host.setRunning(automation::Variant::text("Microsoft Word"));
    host.fail("running.(default)", "The server threw an exception.");
    EXPECT_FALSE(Word1(host, prompts).IsWordRunning());
    EXPECT_TRUE(prompts.shown().empty());
}
