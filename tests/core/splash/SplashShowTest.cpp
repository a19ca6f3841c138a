// The splash screen's behaviour on a scripted window, clock and event pump.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/Product.h"
#include "app/StartUpRoutines.h"
#include "splash/SplashShow.h"
#include "support/Files.h"
#include "support/ScriptedServices.h"

namespace {

using Lines = std::vector<std::string>;

struct ScriptedSplash : SplashView {
    Lines done;
    void setCaption(const std::string& caption) override { done.push_back("caption " + caption); }
    void placeImage(int left, int top) override { log("image at", left, top); }
    TwipSize loadPicture(const std::string& path) override {
        done.push_back("load " + std::filesystem::path(path).filename().string());
        return {4000, 3000};
    }
    void setImageHeight(int height) override { log("image height", height); }
    void setSize(int width, int height) override { log("size", width, height); }
    int checkBoxHeight() const override { return 375; }
    void setCheckBoxTop(int top) override { log("check box top", top); }
    void placeLine(int line, int x1, int y1, int x2, int y2) override {
        log("line " + std::to_string(line), x1, y1, x2, y2);
    }
    void showCentred() override { done.push_back("show"); }
    void hide() override { done.push_back("hide"); }
    bool hidesFile(const std::string& path) const override {
        return std::filesystem::path(path).filename() == "marked-hidden.png";
    }

    void log(const std::string& what, int a, int b = -1, int c = -1, int d = -1) {
        std::string line = what + " " + std::to_string(a);
        for (int v : {b, c, d}) {
            if (v >= 0) line += " " + std::to_string(v);
        }
        done.push_back(line);
    }
};

struct CountingPump : EventPump {
    std::vector<double> waits;
    void handleEventsFor(double seconds) override { waits.push_back(seconds); }
};

class SplashScreen : public ::testing::Test {
  protected:
    SplashScreen() {
        std::filesystem::create_directories(app.path() + "/Splash/folder.png");
        WriteFile(app.path() + "/Splash/.hidden.png", "x");
        WriteFile(app.path() + "/Splash/marked-hidden.png", "x");
        WriteFile(app.path() + "/Splash/picture.jpg", "a picture");
        s.clock.readings = {100.0, 100.0, 101.0, 104.5};
    }
    void show() { SplashShow(view, s.settings, s.clock, pump, app.path(), false); }

    TemporaryFolder app;
    ScriptedPlatform s{app.path()};
    ScriptedSplash view;
    CountingPump pump;
};

}  // namespace

TEST_F(SplashScreen, APictureOf4000By3000TwipsIsFittedFramedShownAndHidden) {
    show();
    EXPECT_EQ(view.done,
              (Lines{"caption " + std::string(kProductName), "image at 0 0", "load picture.jpg",
                     "image height 3300", "size 4000 3300", "check box top 2905",
                     "line 1 0 0 0 10000", "line 2 0 0 10000 0", "line 3 3990 0 3990 10000",
                     "line 4 0 3290 10000 3290", "show", "hide"}));
    EXPECT_EQ(pump.waits, (std::vector<double>{4.0, 3.0}));  // four seconds, events all along
}

TEST_F(SplashScreen, ShowAgainDecidesAndAValueThatIsNoNumberIsRaised) {
    for (const auto& [stored, shown] : std::vector<std::pair<std::string, bool>>{
             {"0", true}, {" 0 ", true}, {"1", false}, {"2.5", false}, {"-1", false}}) {
        ScriptedSplash fresh;
        s.clock.readings = {0.0, 5.0};
        s.settings.write(kMakerName, kProductName, kShowAgainKey, stored);
        SplashShow(fresh, s.settings, s.clock, pump, app.path(), false);
        EXPECT_EQ(!fresh.done.empty(), shown) << stored;
    }
    s.settings.write(kMakerName, kProductName, kShowAgainKey, "x");
    EXPECT_THROW(show(), std::invalid_argument);
    EXPECT_TRUE(view.done.empty());
}

TEST_F(SplashScreen, NoPictureNoSplash) {
    std::filesystem::remove_all(app.path() + "/Splash");
    show();
    std::filesystem::create_directories(app.path() + "/Splash/only-a-folder");
    show();
    EXPECT_TRUE(view.done.empty());
}

TEST(WaitSeconds, EndsAfterItsTimeOrAtMidnightAndZeroHandlesNothing) {
    FixedClock clock;
    CountingPump pump;
    clock.readings = {86398.0, 86398.0, 86399.5, 0.5};  // started at 23:59:58, with 4 seconds
    WaitSeconds(4, clock, pump);
    EXPECT_EQ(pump.waits, (std::vector<double>{2.0, 0.5}));  // woken at midnight at the latest
    pump.waits.clear();
    clock.readings = {10.0};
    WaitSeconds(0, clock, pump);
    EXPECT_TRUE(pump.waits.empty());
}

TEST(Check1Click, StoresTheChoiceAtOnceAndTellsOfAStoreThatRefuses) {
    ScriptedPlatform s;
    Check1_Click(s.settings, s.prompts, true);
    Check1_Click(s.settings, s.prompts, false);
    EXPECT_EQ(s.settings.writes, (Lines{"ShowAgain=1", "ShowAgain=0"}));
    s.settings.refuseWrites = true;
    Check1_Click(s.settings, s.prompts, true);
    ASSERT_EQ(s.prompts.shown().size(), 1u);
    EXPECT_NE(s.prompts.texts()[0].find("could not be remembered"), std::string::npos);
}

TEST(IsInDevelopmentEnvironment, TheBuildTreeAnswersTrueAnInstallationFalse) {
    TemporaryFolder installed;
    std::filesystem::create_directories(installed.path() + "/lib/quorvane");
    EXPECT_FALSE(IsInDevelopmentEnvironment(installed.path() + "/lib/quorvane"));
    WriteFile(installed.path() + "/lib/CMakeCache.txt", "");
    EXPECT_TRUE(IsInDevelopmentEnvironment(installed.path() + "/lib/quorvane"));
}
