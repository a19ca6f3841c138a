// "Load Sample/Example Files": both boxes get the sample document, then the offer to open its
// folder.
#include <gtest/gtest.h>

#include "app/Form1Handlers.h"
#include "support/ScriptedForm1View.h"
#include "support/ScriptedServices.h"

namespace {

using Lines = std::vector<std::string>;

// Installed in C:\Tools on Windows, /opt/Tools elsewhere: the sample is named with the
// platform's separator.
#ifdef _WIN32
const std::string kFolder = "C:\\Tools", kSample = "C:\\Tools\\Samples\\sample1.doc",
                  kSamples = "C:\\Tools\\Samples\\";
#else
const std::string kFolder = "/opt/Tools", kSample = "/opt/Tools/Samples/sample1.doc",
                  kSamples = "/opt/Tools/Samples/";
#endif

class Samples : public ::testing::Test {
  protected:
    Samples() {
        view.text1.onChange = [this] { handlers.Text1_Change(); };
        view.text2.onChange = [this] { handlers.Text2_Change(); };
        view.text1.assignText("/earlier/a.doc");
        s.settings.writes.clear();
    }
    // A folder with no Samples in it: the boxes are filled all the same.
    ScriptedPlatform s{kFolder};
    ScriptedForm1View view;
    Form1Handlers handlers{s.platform, view};
};

}  // namespace

TEST_F(Samples, BothBoxesAndBothKeysGetTheSampleAndYesOpensItsFolder) {
    s.prompts.answers = {Prompts::Answer::Yes};
    handlers.PushButton2_Click();
    EXPECT_EQ(view.text1.currentText(), kSample);
    EXPECT_EQ(view.text2.currentText(), kSample);
    EXPECT_EQ(s.settings.writes, (Lines{"Excel File=" + kSample, "Compare With=" + kSample}));
    ASSERT_EQ(s.prompts.shown().size(), 1u);
    EXPECT_EQ(s.prompts.shown()[0].kind, "ask");
    EXPECT_EQ(s.prompts.texts()[0], kOpenSamplesQuestion);
    EXPECT_EQ(s.shell.opened, (Lines{"folder " + kSamples}));
}

TEST_F(Samples, NoOpensNothingAndAFailingQuestionGoesOnToOpenTheFolder) {
    handlers.PushButton2_Click();  // answered No
    EXPECT_TRUE(s.shell.opened.empty());
    EXPECT_EQ(view.text2.currentText(), kSample);

    s.prompts.onShow = [](const ScriptedPrompts::Shown& shown) {
        if (shown.kind == "ask") throw std::runtime_error("No message box can be shown.");
    };
    handlers.PushButton2_Click();
    EXPECT_NE(s.prompts.texts().back().find("PushButton2_Click at line 104"), std::string::npos);
    EXPECT_EQ(s.shell.opened, (Lines{"folder " + kSamples}));
}
