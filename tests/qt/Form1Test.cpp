#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "look/CursorFile.h"
#include "look/Skin.h"
#include "qt/Form1Fixture.h"
#include "qt/MessageBoxAnswerer.h"

namespace {

class Form1Test : public Form1Fixture {};

struct Placement {
    const char* name;
    const char* parent;
    QRect pixels;
    const char* caption;
};

// The designed layout, converted from twips at 15 per pixel.
const Placement kPlacements[] = {
    {"PushButton1", "Form1", {8, 8, 256, 27}, "Help"},
    {"Frame2", "Form1", {8, 94, 520, 53}, "Word File #2"},
    {"Text2", "Frame2", {16, 20, 440, 23}, ""},
    {"PushButton6", "Frame2", {464, 20, 40, 23}, "..."},
    {"Frame1", "Form1", {8, 38, 520, 53}, "Word File #1"},
    {"Text1", "Frame1", {16, 20, 440, 23}, ""},
    {"PushButton4", "Frame1", {464, 20, 40, 23}, "..."},
    {"PushButton5", "Form1", {8, 156, 520, 27}, "Start Comparing"},
    {"PushButton2", "Form1", {272, 8, 256, 27}, "Load Sample/Example Files"},
};

QString Caption(QWidget* widget) {
    if (auto* button = qobject_cast<QPushButton*>(widget)) return button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) return frame->title();
    if (auto* box = qobject_cast<QLineEdit*>(widget)) return box->text();
    return {};
}

}  // namespace

TEST_F(Form1Test, WindowIsFixedAt536By192WithMinimiseButNoMaximise) {
    EXPECT_EQ(form.size(), QSize(536, 192));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form.windowTitle(), "Form1");
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(Form1Test, DesignIconIsOneBlankImageOf32By32) {
    const QIcon icon = form.windowIcon();
    ASSERT_EQ(icon.availableSizes(), QList<QSize>{QSize(32, 32)});
    const QImage image = icon.pixmap(32, 32).toImage();
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) ASSERT_EQ(qAlpha(image.pixel(x, y)), 0);
    }
}

TEST_F(Form1Test, EveryControlSitsWhereTheLayoutPutsItWithItsCaption) {
    for (const Placement& p : kPlacements) {
        QWidget* widget = control<QWidget>(p.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), p.pixels) << p.name;
        EXPECT_EQ(widget->parentWidget()->objectName(), p.parent) << p.name;
        EXPECT_EQ(Caption(widget), p.caption) << p.name;
    }
}

TEST_F(Form1Test, ControlsAreStackedInTheDesignedOrder) {
    QStringList order;
    for (QObject* child : form.children()) {
        if (child->isWidgetType()) order << child->objectName();
    }
    EXPECT_EQ(order,
              (QStringList{"PushButton1", "Frame2", "Frame1", "PushButton5", "PushButton2"}));
}

TEST_F(Form1Test, FontsAreArialBoldAtTheirSizes) {
    for (const char* name : {"Form1", "Frame1", "Frame2", "Text1", "Text2"}) {
        QWidget* widget = name == std::string("Form1") ? &form : control<QWidget>(name);
        EXPECT_EQ(widget->font().family(), "Arial") << name;
        EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), 9.0) << name;
        EXPECT_TRUE(widget->font().bold()) << name;
    }
    for (const char* name :
         {"PushButton1", "PushButton2", "PushButton4", "PushButton5", "PushButton6"}) {
        auto* button = control<QPushButton>(name);
        EXPECT_EQ(button->font().family(), "Arial") << name;
        EXPECT_DOUBLE_EQ(button->font().pointSizeF(), 11.25) << name;
        EXPECT_TRUE(button->font().bold()) << name;
        EXPECT_EQ(button->palette().color(QPalette::Button), QColor(Qt::white)) << name;
    }
    for (const char* name : {"Frame1", "Frame2"}) {
        EXPECT_EQ(control<QWidget>(name)->palette().color(QPalette::Window), QColor(Qt::white));
    }
}

TEST_F(Form1Test, FocusStartsInText1AndTabVisitsTheControlsInTheirTabOrder) {
    form.showCentred();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited, (QStringList{"Text1", "Text2", "PushButton5", "PushButton4", "PushButton6",
                                    "PushButton1", "PushButton2", "Text1"}));
}

TEST_F(Form1Test, StartComparingWithEmptyBoxesAsksForBothFilesInAPlainMessage) {
    MessageBoxAnswerer answerer;
    QTest::mouseClick(control<QPushButton>("PushButton5"), Qt::LeftButton);
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].text, "Please input word file to compare and to compare with.");
    EXPECT_EQ(answerer.seen[0].title, prompts.applicationTitle());
    EXPECT_EQ(answerer.seen[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(answerer.seen[0].buttons, QMessageBox::Ok);
    EXPECT_TRUE(host.calls().empty());
    EXPECT_FALSE(form.IsComparing());
}

TEST_F(Form1Test, StartComparingReportsEachFailureInAWarningBoxThenSaysDone) {
    host.fail("document.Merge", "The second document could not be read.");
    control<QLineEdit>("Text1")->setText("/docs/a.doc");
    control<QLineEdit>("Text2")->setText("/docs/b.doc");
    MessageBoxAnswerer answerer;
    QTest::mouseClick(control<QPushButton>("PushButton5"), Qt::LeftButton);
    ASSERT_EQ(answerer.seen.size(), 2u);
    EXPECT_EQ(answerer.seen[0].title, "Application Error");
    EXPECT_EQ(answerer.seen[0].icon, QMessageBox::Warning);
    // The line breaks of the report text are shown as the widget's own.
    EXPECT_EQ(answerer.seen[0].text,
              "The second document could not be read.\nin Vantrel2021/08/31.Word1.CompareDocFiles "
              "at line 106\n\nPlease email screenshot of this message to support@meldrisk.example");
    EXPECT_EQ(answerer.seen[1].text, "Done.");
    EXPECT_EQ(host.calls().back(), "word.Visible = Boolean -1");
}

TEST_F(Form1Test, RunningWordAskWithYesDefaultAndNoEndsQuietly) {
    host.setRunning(automation::Variant::text("Microsoft Word"));
    control<QLineEdit>("Text1")->setText("/docs/a.doc");
    control<QLineEdit>("Text2")->setText("/docs/b.doc");
    MessageBoxAnswerer answerer(QMessageBox::No);
    QTest::mouseClick(control<QPushButton>("PushButton5"), Qt::LeftButton);
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(answerer.seen[0].defaultButton, QMessageBox::Yes);
    EXPECT_EQ(answerer.seen[0].icon, QMessageBox::NoIcon);
    EXPECT_NE(answerer.seen[0].text.find("\n\nWould you like to proceed anyway?"),
              std::string::npos);
    EXPECT_EQ(std::count(host.calls().begin(), host.calls().end(), "create Word.Application"), 0);
}

TEST_F(Form1Test, OverTheButtonsTheHandShowsElsewhereTheDefault) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    // No cursor file loaded: the platform's pointing hand stands in.
    QTest::mouseMove(control<QPushButton>("PushButton5"));
    EXPECT_EQ(form.cursor().shape(), Qt::PointingHandCursor);
    form.setCustomCursor("", ReadCursorFile(QUORVANE_SOURCE_DIR "/assets/HAND-M.CUR"));
    QTest::mouseMove(control<QPushButton>("PushButton2"));
    EXPECT_EQ(form.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(form.cursor().hotSpot(), QPoint(11, 1));
    QTest::mouseMove(control<QLineEdit>("Text1"));
    EXPECT_EQ(form.pointerShape(), kDefaultPointer);
    EXPECT_EQ(form.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Form1Test, TheSkinPaintsWindowFramesButtonsAndBoxesAndClosingEndsTheProgram) {
    form.paintButtonFace();
    EXPECT_NE(control<QGroupBox>("Frame1")->palette().color(QPalette::Window), QColor(Qt::white));
    form.applySkin(LoadSkinFile(QUORVANE_SOURCE_DIR "/assets/x/o.cjs"));
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor("#EEF1F5"));
    EXPECT_EQ(control<QGroupBox>("Frame2")->palette().color(QPalette::WindowText),
              QColor("#22364F"));
    EXPECT_TRUE(control<QPushButton>("PushButton5")->styleSheet().contains("#2e5a87"));
    EXPECT_TRUE(control<QLineEdit>("Text2")->styleSheet().contains("#9aabbf"));
    form.close();
    EXPECT_EQ(end.exitCodes, std::vector<int>{0});
}
