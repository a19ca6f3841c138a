#include <gtest/gtest.h>

#include "app/errors/ReportError.h"
#include "select/DocumentPickers.h"
#include "support/MemorySettingsStore.h"
#include "support/ScriptedOpenFileDialog.h"
#include "support/ScriptedPrompts.h"

namespace {

using Lines = std::vector<std::string>;

struct RecordingBox : PathBox {
    Lines texts;
    std::string currentText() const override { return texts.empty() ? "" : texts.back(); }
    void assignText(const std::string& text) override { texts.push_back(text); }
};

const Lines kSetUpAndShow = {
    "FileName = \"\"",
    "Flags = 2621441",
    "DialogTitle = \"Select Excel File\"",
    "Filter = \"All Excel Files (*.doc*)|*.doc*|\"",
    "ShowOpen",
    "FileName?",
};

class Browse : public ::testing::Test {
  protected:
    void browse() { BrowseForDocument(dialog, prompts, kPushButton6Location, box); }
    ScriptedOpenFileDialog dialog;
    ScriptedPrompts prompts;
    RecordingBox box;
};

}  // namespace

TEST_F(Browse, SetsTheDialogUpAfreshEachTimeAndPutsThePickIntoTheBox) {
    dialog.picks = {"/home/ann/a b.docx", "/home/ann/missing.doc"};
    browse();
    browse();
    Lines expected = kSetUpAndShow;
    expected.push_back("FileName?");
    expected.insert(expected.end(), kSetUpAndShow.begin(), kSetUpAndShow.end());
    expected.push_back("FileName?");
    EXPECT_EQ(dialog.calls(), expected);
    EXPECT_EQ(box.texts, (Lines{"/home/ann/a b.docx", "/home/ann/missing.doc"}));
    EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(Browse, CancelChangesNothingAndSaysNothing) {
    dialog.picks = {""};
    browse();
    EXPECT_EQ(dialog.calls(), kSetUpAndShow);
    EXPECT_TRUE(box.texts.empty());
    EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(Browse, EachFailingLineIsReportedWithItsNumberAndTheHandlerGoesOn) {
    const std::vector<std::pair<std::string, int>> lines = {
        {"FileName = ", 100}, {"Flags", 102}, {"DialogTitle", 104}, {"Filter", 106}};
    for (const auto& [prefix, line] : lines) {
        ScriptedOpenFileDialog failing;
        ScriptedPrompts shown;
        RecordingBox target;
        failing.fail(prefix);
        failing.picks = {"/picked.docx"};
        BrowseForDocument(failing, shown, kPushButton4Location, target);
        ASSERT_EQ(shown.shown().size(), 1u) << prefix;
        EXPECT_EQ(shown.texts()[0],
                  ErrorReportText(kPushButton4Location, line,
                                  "The dialog refused: " + failing.calls()[(line - 100) / 2]));
        // The dialog is still shown and the pick still lands in the box.
        EXPECT_EQ(target.texts, (Lines{"/picked.docx"})) << prefix;
    }
}

TEST_F(Browse, ADialogThatCannotBeShownEndsQuietlyAfterItsReport) {
    dialog.fail("ShowOpen");
    browse();
    EXPECT_EQ(prompts.texts(),
              (Lines{ErrorReportText(kPushButton6Location, 108, "The dialog refused: ShowOpen")}));
    EXPECT_TRUE(box.texts.empty());
}

TEST_F(Browse, AFailingFileNameTestGoesOnToFillTheBox) {
    dialog.picks = {"/picked.docx"};
    dialog.fail("FileName?");
    browse();
    // Line 110 fails, so line 112 runs and fails the same way reading the name.
    ASSERT_EQ(prompts.shown().size(), 2u);
    EXPECT_NE(prompts.texts()[0].find("at line 110"), std::string::npos);
    EXPECT_NE(prompts.texts()[1].find("at line 112"), std::string::npos);
}

TEST(RememberedPaths, EveryChangeIsStoredVerbatimUnderItsKey) {
    MemorySettingsStore store;
    ScriptedPrompts prompts;
    RememberedPaths paths(store, prompts);
    paths.Text1_Change("  /a b.doc ");
    paths.Text2_Change("/c.doc");
    paths.Text2_Change("/c.doc");
    paths.Text1_Change("");
    EXPECT_EQ(store.writes, (Lines{"Excel File=  /a b.doc ", "Compare With=/c.doc",
                                   "Compare With=/c.doc", "Excel File="}));
    EXPECT_EQ(store.read("Meldrisk", "Quorvane Paired Office Paper Examiners Highlighter Deskware",
                         "Compare With"),
              "/c.doc");
    EXPECT_TRUE(prompts.shown().empty());
}

TEST(RememberedPaths, AStoreThatCannotBeWrittenIsToldOncePerRunOfFailures) {
    MemorySettingsStore store;
    ScriptedPrompts prompts;
    RememberedPaths paths(store, prompts);
    store.refuseWrites = true;
    for (const char* typed : {"/", "/h", "/ho", "/hom"}) paths.Text1_Change(typed);
    ASSERT_EQ(prompts.shown().size(), 1u);
    EXPECT_EQ(prompts.shown()[0].kind, "inform");
    EXPECT_NE(prompts.texts()[0].find("could not be remembered"), std::string::npos);
    EXPECT_NE(prompts.texts()[0].find("x.conf"), std::string::npos);
    // Once writing works again, a later failure is worth telling again.
    store.refuseWrites = false;
    paths.Text2_Change("/ok.doc");
    store.refuseWrites = true;
    paths.Text2_Change("/ok.docx");
    EXPECT_EQ(prompts.shown().size(), 2u);
}
