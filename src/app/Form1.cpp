#include "app/Form1.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include "app/DocumentPathEdit.h"
#include "app/Twips.h"

namespace {

void PlaceTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(Twips(left), Twips(top), Twips(width), Twips(height));
}

QFont WindowFont() {
    QFont font("Arial");
    font.setPointSizeF(9);
    font.setBold(true);
    return font;
}

QFont ButtonFont() {
    QFont font("Arial");
    font.setPointSizeF(11.25);
    font.setBold(true);
    return font;
}

void PaintWhite(QWidget* widget, QPalette::ColorRole role) {
    QPalette palette = widget->palette();
    palette.setColor(role, Qt::white);
    widget->setPalette(palette);
}

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFont(ButtonFont());
    PaintWhite(button, QPalette::Button);
    return button;
}

QGroupBox* MakeFrame(const char* name, const QString& caption, QWidget* parent) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    frame->setAutoFillBackground(true);
    PaintWhite(frame, QPalette::Window);
    return frame;
}

DocumentPathEdit* MakePathBox(const char* name, QWidget* parent) {
    auto* box = new DocumentPathEdit(parent);
    box->setObjectName(name);
    return box;
}

// The designed icon: one 32 x 32 image, every pixel transparent.
QIcon BlankIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    return QIcon(pixmap);
}

}  // namespace

Form1::Form1(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      platform_(platform),
      word1_(platform.host, platform.prompts),
      compareCommand_(*this, word1_, platform.prompts),
      rememberedPaths_(platform.settings, platform.prompts) {
    setObjectName("Form1");
    setWindowTitle("Form1");
    setWindowIcon(BlankIcon());
    setFont(WindowFont());
    setAutoFillBackground(true);
    PaintWhite(this, QPalette::Window);
    setFixedSize(Twips(8040), Twips(2880));
    createControls();
    chainTabOrder();
    Text1->setFocus();

    connect(PushButton4, &QPushButton::clicked, this, &Form1::PushButton4_Click);
    connect(PushButton5, &QPushButton::clicked, this, &Form1::PushButton5_Click);
    connect(PushButton6, &QPushButton::clicked, this, &Form1::PushButton6_Click);
    connect(Text1, &QLineEdit::textChanged, this, &Form1::Text1_Change);
    connect(Text2, &QLineEdit::textChanged, this, &Form1::Text2_Change);
}

Form1::~Form1() = default;

// Created in the designed stacking order, bottom-most first.
void Form1::createControls() {
    PushButton1 = MakeButton("PushButton1", "Help", this);
    PlaceTwips(PushButton1, 120, 120, 3840, 405);

    Frame2 = MakeFrame("Frame2", "Word File #2", this);
    PlaceTwips(Frame2, 120, 1410, 7800, 800);
    Text2 = MakePathBox("Text2", Frame2);
    PlaceTwips(Text2, 240, 300, 6600, 345);
    PushButton6 = MakeButton("PushButton6", "...", Frame2);
    PlaceTwips(PushButton6, 6960, 300, 600, 345);

    Frame1 = MakeFrame("Frame1", "Word File #1", this);
    PlaceTwips(Frame1, 120, 570, 7800, 800);
    Text1 = MakePathBox("Text1", Frame1);
    PlaceTwips(Text1, 240, 300, 6600, 345);
    PushButton4 = MakeButton("PushButton4", "...", Frame1);
    PlaceTwips(PushButton4, 6960, 300, 600, 345);

    PushButton5 = MakeButton("PushButton5", "Start Comparing", this);
    PlaceTwips(PushButton5, 120, 2340, 7800, 405);

    PushButton2 = MakeButton("PushButton2", "Load Sample/Example Files", this);
    PlaceTwips(PushButton2, 4080, 120, 3840, 405);
}

void Form1::chainTabOrder() {
    const QWidget* order[] = {Text1,       Text2,       PushButton5, PushButton4,
                              PushButton6, PushButton1, PushButton2};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        QWidget::setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
    }
    for (QGroupBox* frame : {Frame1, Frame2}) frame->setFocusPolicy(Qt::NoFocus);
}

void Form1::showCentred() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    show();
}

void Form1::PushButton4_Click() {
    BrowseForDocument(platform_.commonDialog, platform_.prompts, kPushButton4Location, *Text1);
}

void Form1::PushButton5_Click() {
    compareCommand_.PushButton5_Click();
}

void Form1::PushButton6_Click() {
    BrowseForDocument(platform_.commonDialog, platform_.prompts, kPushButton6Location, *Text2);
}

void Form1::Text1_Change() {
    rememberedPaths_.Text1_Change(Text1->text().toStdString());
}

void Form1::Text2_Change() {
    rememberedPaths_.Text2_Change(Text2->text().toStdString());
}

std::string Form1::documentToCompare() const {
    return Text1->text().toStdString();
}

std::string Form1::documentToCompareWith() const {
    return Text2->text().toStdString();
}
