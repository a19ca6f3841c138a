// The splash window on Qt: fitted to its picture, the choice stored as it is clicked, pictures
// that cannot be shown refused, and a wait that leaves the processor idle.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QTest>
#include <ctime>
#include <filesystem>

#include "app/Product.h"
#include "qt/QtEventPump.h"
#include "qt/QtPrompts.h"
#include "qt/Splash.h"
#include "support/Files.h"
#include "support/ScriptedServices.h"

namespace {

// Ticks and unticks the check box while the splash shows, as a user would.
struct ClickingPump : EventPump {
    QCheckBox* box = nullptr;
    MemorySettingsStore* settings = nullptr;
    std::vector<std::string> storedAfterClick;
    void handleEventsFor(double) override {
        QTest::mouseClick(box, Qt::LeftButton);
        storedAfterClick.push_back(settings->writes.back());
    }
};

}  // namespace

TEST(Splash, FitsItsPictureStoresEachClickAtOnceAndHidesAfterTheWait) {
    TemporaryFolder app;
    std::filesystem::create_directories(app.path() + "/Splash");
    QImage picture(200, 150, QImage::Format_RGB32);
    picture.fill(QColor("#2E5A87"));
    ASSERT_TRUE(picture.save(QString::fromStdString(app.path() + "/Splash/welcome.png")));
    ScriptedPlatform s(app.path());
    QtPrompts prompts;
    Splash splash(s.settings, prompts);
    ClickingPump pump;
    pump.box = splash.findChild<QCheckBox*>("Check1");
    pump.settings = &s.settings;
    s.clock.readings = {0.0, 0.0, 1.0, 4.0};
    SplashShow(splash, s.settings, s.clock, pump, app.path(), false);
    EXPECT_EQ(pump.storedAfterClick, (std::vector<std::string>{"ShowAgain=1", "ShowAgain=0"}));
    EXPECT_EQ(splash.size(), QSize(200, 170));  // the picture and a 300-twip band
    EXPECT_EQ(pump.box->y(), 144);              // 375 + 20 twips above the bottom
    EXPECT_EQ(splash.windowTitle().toStdString(), kProductName);
    EXPECT_FALSE(splash.isVisible());
    if (const char* folder = std::getenv("QUORVANE_SCREENSHOTS")) {
        splash.grab().save(QString(folder) + "/splash.png");
    }
}

TEST(Splash, AFileThatIsNoPictureOrAnAbsurdlyLargeOneIsRefused) {
    TemporaryFolder folder;
    WriteFile(folder.path() + "/text.png", "just words");
    // A PNG header that claims 100000 x 100000 pixels.
    WriteFile(folder.path() + "/huge.png",
              std::string(
                  "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\x01\x86\xa0\0\x01\x86\xa0\x08\x02\0\0\0", 33));
    ScriptedPlatform s;
    QtPrompts prompts;
    Splash splash(s.settings, prompts);
    for (const char* name : {"/text.png", "/huge.png", "/missing.png"}) {
        EXPECT_THROW(splash.loadPicture(folder.path() + name), std::runtime_error) << name;
    }
}

TEST(QtEventPump, WaitingLeavesTheProcessorIdle) {
    QtEventPump pump;
    const std::clock_t before = std::clock();
    const auto start = std::chrono::steady_clock::now();
    pump.handleEventsFor(0.5);
    const double waited =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double busy = double(std::clock() - before) / CLOCKS_PER_SEC;
    EXPECT_GE(waited, 0.45);
    EXPECT_LT(busy, 0.1) << "the wait kept the processor busy for " << busy << " s";
}
