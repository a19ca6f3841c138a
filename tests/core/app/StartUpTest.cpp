// The start-up sequence, Help and the hover rule, on a scripted window and platform.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/Form1Handlers.h"
#include "app/Product.h"
#include "app/StartUpRoutines.h"
#include "app/errors/ReportError.h"
#include "compare/IsInstalled.h"
#include "support/Files.h"
#include "support/ScriptedForm1View.h"
#include "support/ScriptedServices.h"

namespace {

using Lines = std::vector<std::string>;
const std::string kTitle = "Quorvane Paired Office Paper Examiners";
const std::string kProduct = "Quorvane Paired Office Paper Examiners Highlighter Deskware";

class StartUp : public ::testing::Test {
  protected:
    StartUp() {
        view.text1.onChange = [this] { handlers.Text1_Change(); };
        view.text2.onChange = [this] { handlers.Text2_Change(); };
    }
    void file(const std::string& relative, const std::string& bytes) {
        std::filesystem::create_directories(
            std::filesystem::path(app.path() + "/" + relative).parent_path());
        WriteFile(app.path() + "/" + relative, bytes);
    }
    // The line numbers of the reports shown, in order.
    std::vector<int> reportedLines() const {
        std::vector<int> lines;
        for (const auto& shown : s.prompts.shown()) {
            const auto at = shown.text.find("Form_Load at line ");
            if (shown.kind == "error" && at != std::string::npos) {
                lines.push_back(std::stoi(shown.text.substr(at + 18)));
            }
        }
        return lines;
    }

    TemporaryFolder app;
    ScriptedPlatform s{app.path()};
    ScriptedForm1View view;
    Form1Handlers handlers{s.platform, view};
};

}  // namespace

TEST_F(StartUp, AFirstRunDressesTheWindowChecksWordAndWritesNothing) {
    handlers.Form_Load();
    EXPECT_EQ(view.changes, (Lines{"caption " + kProduct, "icon"}));
    EXPECT_TRUE(s.prompts.shown().empty());
    EXPECT_EQ(s.prompts.applicationTitle(), kTitle);
    EXPECT_TRUE(s.settings.writes.empty());
    EXPECT_EQ(s.host.calls(), (Lines{"create Word.Application", "word.quit()"}));
    EXPECT_TRUE(s.end.exitCodes.empty());
    EXPECT_TRUE(s.shell.opened.empty());
}

TEST_F(StartUp, StoredPathsComeBackExactlyAndAreWrittenBackOnce) {
    s.settings.write(kMakerName, kProduct, "Excel File", "  /docs/gone away.doc ");
    s.settings.write(kMakerName, kProduct, "Compare With", "C:\\b.docx");
    s.settings.writes.clear();
    handlers.Form_Load();
    EXPECT_EQ(view.text1.currentText(), "  /docs/gone away.doc ");
    EXPECT_EQ(view.text2.currentText(), "C:\\b.docx");
    EXPECT_EQ(s.settings.writes,
              (Lines{"Excel File=  /docs/gone away.doc ", "Compare With=C:\\b.docx"}));
}

TEST_F(StartUp, SkinAndHandCursorBelowTheApplicationFolderDressTheWindow) {
    file("x/o.cjs", "quorvane-skin 1\n[button]\nbackground = #2E5A87\n");
    file("HAND-M.CUR", ReadFile(QUORVANE_SOURCE_DIR "/assets/HAND-M.CUR"));
    handlers.Form_Load();
    EXPECT_EQ(view.changes, (Lines{"button face", "skin with button colours",
                                   "cursor 32x32 at 11,1", "caption " + kProduct, "icon"}));
    EXPECT_TRUE(s.prompts.shown().empty());
}

// Each failing step is reported with its line, and the sequence goes on with the next one.
TEST_F(StartUp, EachFailingStepIsReportedAndTheNextOneRuns) {
    file("x/o.cjs", "not a skin\n");
    std::filesystem::create_directories(app.path() + "/HAND-M.CUR");  // a folder: present
    s.random.draw = 0.06;                                             // n = 7
    s.shell.fail = true;
    view.failing = {"caption " + kProduct};
    s.settings.refuseReads = true;
    s.host.fail("create Word.Application", "cannot start");
    handlers.Form_Load();
    EXPECT_EQ(reportedLines(), (std::vector<int>{102, 106, 108, 126, 128, 130}));
    // Paint came before the file was read; the icon and title still followed the caption.
    EXPECT_EQ(view.changes, (Lines{"button face", "icon"}));
    EXPECT_EQ(s.prompts.applicationTitle(), kTitle);
    ASSERT_EQ(s.prompts.shown().back().kind, "inform");
    EXPECT_EQ(s.prompts.shown().back().text, WordNotCreatedMessage());
    EXPECT_EQ(s.end.exitCodes, (std::vector<int>{kNoWordExitCode}));
}

TEST(CheckWordInstalled, AStandInThatCannotStartSaysWhyInASixthParagraph) {
    ScriptedPlatform s("/app", true);
    s.host.fail("create Word.Application", "LibreOffice Writer is not installed.");
    CheckWordInstalled(s.host, s.prompts, s.end, true);
    const std::string message = s.prompts.texts().at(0);
    EXPECT_EQ(message.rfind(
                  "Error 842001. A normal instance of Word could not be created.\r\n\r\n1. ", 0),
              0u);
    EXPECT_NE(message.find("Starter and Student editions.\r\n\r\n5. This computer has no Word; "
                           "LibreOffice Writer takes its place here. LibreOffice Writer is not "
                           "installed."),
              std::string::npos);
    EXPECT_EQ(s.end.exitCodes.size(), 1u);

    // A quit that fails is ignored, as is everything else once Word was made.
    ScriptedPlatform ok("/app", true);
    ok.host.fail("word.quit", "busy");
    CheckWordInstalled(ok.host, ok.prompts, ok.end, true);
    EXPECT_TRUE(ok.prompts.shown().empty());
    EXPECT_TRUE(ok.end.exitCodes.empty());
}

TEST(ApplicationTitle, LosesWordsFromItsEndUntilItFitsAndAlwaysOne) {
    EXPECT_EQ(CutApplicationTitle(kProduct), kTitle);
    EXPECT_EQ(CutApplicationTitle("Short Name Here"), "Short Name");
    EXPECT_EQ(CutApplicationTitle(std::string(40, 'a') + " b c"), std::string(40, 'a'));
    EXPECT_THROW(CutApplicationTitle("Nameless"), std::invalid_argument);
}

TEST(OpenHomePageByChance, OpensTheHomePageForSevenOnlySeededFromTheClock) {
    const std::vector<std::pair<double, bool>> draws = {
        {0.0, false}, {0.059, false}, {0.06, true}, {0.0699, true}, {0.07, false}, {0.9999, false}};
    for (const auto& [draw, opens] : draws) {
        ScriptedPlatform s;
        s.clock.readings = {3600.25};
        s.random.draw = draw;
        OpenHomePageByChance(s.clock, s.random, s.shell);
        EXPECT_EQ(s.shell.opened, opens ? Lines{"web http://www.meldrisk.example/"} : Lines{})
            << draw;
        EXPECT_EQ(s.random.seeds, (std::vector<double>{3600.25}));
    }
}

TEST(Help, ShowsTheContactMessageInTheApplicationTitle) {
    ScriptedPlatform s;
    ScriptedForm1View view;
    Form1Handlers handlers(s.platform, view);
    s.prompts.setApplicationTitle(kTitle);
    handlers.PushButton1_Click();
    ASSERT_EQ(s.prompts.shown().size(), 1u);
    EXPECT_EQ(s.prompts.shown()[0].kind, "inform");
    EXPECT_EQ(s.prompts.shown()[0].title, kTitle);
    EXPECT_EQ(s.prompts.shown()[0].text,
              "Questions? Please contact Team Meldrisk at http://www.meldrisk.example/contact/");
}

TEST(Hover, TheHandOverButtonsTheDefaultElsewhereAndAnHourglassStays) {
    ScriptedPlatform s;
    ScriptedForm1View view;
    Form1Handlers handlers(s.platform, view);
    handlers.MouseMove(HoverArea::Button);
    handlers.MouseMove(HoverArea::Button);
    handlers.MouseMove(HoverArea::Surface);
    EXPECT_EQ(view.changes, (Lines{"pointer 99", "pointer 99", "pointer 0"}));
    view.pointer = kHourglassPointer;
    handlers.MouseMove(HoverArea::Button);
    handlers.MouseMove(HoverArea::Surface);
    EXPECT_EQ(view.pointer, kHourglassPointer);
    EXPECT_EQ(view.changes.size(), 3u);
}
