#include "qt/Form1.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <stdexcept>

#include "qt/DocumentPathEdit.h"
#include "qt/QtLook.h"
#include "qt/Twips.h"

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
      handlers_(platform, *this) {
    setObjectName("Form1");
    setWindowTitle("Form1");
    setWindowIcon(BlankIcon());
    setFont(WindowFont());
    setAutoFillBackground(true);
    PaintWhite(this, QPalette::Window);
    setFixedSize(Twips(8040), Twips(2880));
    createControls();
    chainTabOrder();
    followTheMouse();
    Text1Box->setFocus();

    connect(PushButton1, &QPushButton::clicked, this, &Form1::PushButton1_Click);
    connect(PushButton2, &QPushButton::clicked, this, &Form1::PushButton2_Click);
    connect(PushButton4, &QPushButton::clicked, this, &Form1::PushButton4_Click);
    connect(PushButton5, &QPushButton::clicked, this, &Form1::PushButton5_Click);
    connect(PushButton6, &QPushButton::clicked, this, &Form1::PushButton6_Click);
    connect(Text1Box, &QLineEdit::textChanged, this, &Form1::Text1_Change);
    connect(Text2Box, &QLineEdit::textChanged, this, &Form1::Text2_Change);
}

Form1::~Form1() = default;

// Created in the designed stacking order, bottom-most first.
void Form1::createControls() {
    PushButton1 = MakeButton("PushButton1", "Help", this);
    PlaceTwips(PushButton1, 120, 120, 3840, 405);

    Frame2 = MakeFrame("Frame2", "Word File #2", this);
    PlaceTwips(Frame2, 120, 1410, 7800, 800);
    Text2Box = MakePathBox("Text2", Frame2);
    PlaceTwips(Text2Box, 240, 300, 6600, 345);
    PushButton6 = MakeButton("PushButton6", "...", Frame2);
    PlaceTwips(PushButton6, 6960, 300, 600, 345);

    Frame1 = MakeFrame("Frame1", "Word File #1", this);
    PlaceTwips(Frame1, 120, 570, 7800, 800);
    Text1Box = MakePathBox("Text1", Frame1);
    PlaceTwips(Text1Box, 240, 300, 6600, 345);
    PushButton4 = MakeButton("PushButton4", "...", Frame1);
    PlaceTwips(PushButton4, 6960, 300, 600, 345);

    PushButton5 = MakeButton("PushButton5", "Start Comparing", this);
    PlaceTwips(PushButton5, 120, 2340, 7800, 405);

    PushButton2 = MakeButton("PushButton2", "Load Sample/Example Files", this);
    PlaceTwips(PushButton2, 4080, 120, 3840, 405);
}

void Form1::chainTabOrder() {
    QWidget* order[] = {Text1Box,    Text2Box,    PushButton5, PushButton4,
                        PushButton6, PushButton1, PushButton2};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        QWidget::setTabOrder(order[i], order[i + 1]);
    }
    for (QGroupBox* frame : {Frame1, Frame2}) frame->setFocusPolicy(Qt::NoFocus);
}

// Every control reports the mouse moving over it, pressed or not.
void Form1::followTheMouse() {
    setMouseTracking(true);
    for (QWidget* control : findChildren<QWidget*>()) {
        control->setMouseTracking(true);
        control->installEventFilter(this);
    }
}

QList<QPushButton*> Form1::buttons() const {
    return {PushButton1, PushButton2, PushButton4, PushButton5, PushButton6};
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        const bool button = buttons().contains(qobject_cast<QPushButton*>(watched));
        handlers_.MouseMove(button ? HoverArea::Button : HoverArea::Surface);
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
    // A move that a control let pass up to the window was handled as that control's.
    if (!childAt(event->position().toPoint())) handlers_.MouseMove(HoverArea::Surface);
    QWidget::mouseMoveEvent(event);
}

void Form1::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    platform_.end.endNow(0);
}

void Form1::showCentred() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    show();
}

PathBox& Form1::Text1() {
    return *Text1Box;
}

PathBox& Form1::Text2() {
    return *Text2Box;
}

void Form1::setCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

void Form1::showApplicationIcon() {
    const QIcon icon(":/quorvane.ico");
    if (icon.availableSizes().isEmpty()) {
        throw std::runtime_error("The application icon cannot be loaded.");
    }
    setWindowIcon(icon);
}

void Form1::setCustomCursor(const std::string&, const CursorImage& image) {
    customCursor_ = CursorFromImage(image);
    if (pointerShape_ == kCustomPointer) setPointerShape(kCustomPointer);
}

// Without a cursor file, the platform's own pointing hand stands for the custom picture.
void Form1::setPointerShape(int shape) {
    pointerShape_ = shape;
    if (shape == kCustomPointer) {
        setCursor(customCursor_ ? *customCursor_ : QCursor(Qt::PointingHandCursor));
    } else if (shape == kHourglassPointer) {
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }
}

void Form1::paintButtonFace() {
    PaintButtonFace({this, Frame1, Frame2});
}

void Form1::applySkin(const Skin& skin) {
    PaintSkin(*this, {Frame1, Frame2}, buttons(), {Text1Box, Text2Box}, skin);
}
