#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/Form1Composition.h"
#include "app/StartUpRoutines.h"
#include "look/CursorFile.h"
#include "look/Skin.h"
#include "qt/Form1Fixture.h"
#include "qt/MessageBoxAnswerer.h"

namespace {

class Form1Test : public Form1Fixture {};

// The window's layout against its design, at the screen's dots per inch: run once as it is and
// once scaled to 144 dots per inch.
class Form1Layout : public Form1Fixture {
  protected:
    double dpi() const { return 96 * form.devicePixelRatioF(); }
    // Within a pixel of the design, in the screen's own pixels.
    void expectAt(const char* name, QRect logical, const TwipRect& twips) {
        const double scale = form.devicePixelRatioF();
        const int got[] = {
            int(std::lround(logical.x() * scale)), int(std::lround(logical.y() * scale)),
            int(std::lround(logical.width() * scale)), int(std::lround(logical.height() * scale))};
        const int want[] = {twips.left, twips.top, twips.width, twips.height};
        for (int i = 0; i < 4; ++i) {
            EXPECT_LE(std::abs(got[i] - std::lround(want[i] * dpi() / 1440)), 1)
                << name << " edge " << i << " at " << dpi() << " dpi";
        }
    }
};

QString Caption(QWidget* widget) {
    if (auto* button = qobject_cast<QPushButton*>(widget)) return button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) return frame->title();
    if (auto* box = qobject_cast<QLineEdit*>(widget)) return box->text();
    return {};
}

}  // namespace

TEST_F(Form1Layout, TheWindowIsFixedAtItsDesignedSizeWithItsCaptionAndBlankIcon) {
    const WindowDesign& design = kForm1Design;
    expectAt(design.name, QRect(QPoint(), form.size()), design.client);
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form.windowTitle(), design.caption);
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(Qt::white));
    const QIcon icon = form.windowIcon();
    const int side = design.blankIconSide;
    ASSERT_EQ(icon.availableSizes(), QList<QSize>{QSize(side, side)});
    const QImage image = icon.pixmap(side, side).toImage();
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) ASSERT_EQ(qAlpha(image.pixel(x, y)), 0);
    }
}

TEST_F(Form1Layout, EveryControlSitsWhereTheDesignPutsItWithItsCaptionFontAndName) {
    QStringList stacked;
    for (const ControlDesign& design : kForm1Design.controls) {
        QWidget* widget = control<QWidget>(design.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), design.parent) << design.name;
        expectAt(design.name, widget->geometry(), design.place);
        expectAt(design.name, QRect(widget->mapTo(&form, QPoint()), widget->size()),
                 PlaceOnWindow(kForm1Design, design));
        EXPECT_EQ(Caption(widget), design.caption) << design.name;
        const FontDesign& font = FontFor(design.font);
        EXPECT_EQ(widget->font().family(), font.family) << design.name;
        EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), font.points) << design.name;
        EXPECT_EQ(widget->font().bold(), font.bold) << design.name;
        if (*design.accessibleName) {
            EXPECT_EQ(widget->accessibleName(), design.accessibleName);
        }
        if (design.kind != ControlKind::PathBox) {
            const auto role =
                design.kind == ControlKind::Button ? QPalette::Button : QPalette::Window;
            EXPECT_EQ(widget->palette().color(role), QColor(Qt::white)) << design.name;
        }
        if (design.parent == std::string("Form1")) stacked << design.name;
    }
    QStringList order;
    for (QObject* child : form.children()) {
        if (child->isWidgetType()) order << child->objectName();
    }
    EXPECT_EQ(order, stacked);
}

TEST_F(Form1Layout, FocusStartsWhereTheDesignSaysAndTabFollowsItsOrder) {
    form.showCentred();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QStringList visited{QApplication::focusWidget()->objectName()}, expected;
    for (const ControlDesign* design : TabOrder(kForm1Design)) expected << design->name;
    expected << expected.front();
    for (qsizetype i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(expected.front(), kForm1Design.firstFocus);
    EXPECT_EQ(visited, expected);
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

TEST_F(Form1Test, HelpKeepsTheContactAddressOnOneLine) {
    form.show();
    MessageBoxAnswerer answerer;
    QTest::mouseClick(control<QPushButton>("PushButton1"), Qt::LeftButton);
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].text, ContactMessage());
    EXPECT_EQ(answerer.seen[0].lines, 1);
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
