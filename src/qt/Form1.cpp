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

#include "app/Form1Composition.h"
#include "qt/DesignUnits.h"
#include "qt/DocumentPathEdit.h"
#include "qt/QtLook.h"

namespace {

void PaintWhite(QWidget* widget, QPalette::ColorRole role) {
    QPalette palette = widget->palette();
    palette.setColor(role, Qt::white);
    widget->setPalette(palette);
}

QWidget* MakeControl(const ControlDesign& design, QWidget* parent) {
    const QString caption = QString::fromUtf8(design.caption);
    switch (design.kind) {
        case ControlKind::Button: {
            auto* button = new QPushButton(caption, parent);
            PaintWhite(button, QPalette::Button);
            return button;
        }
        case ControlKind::Frame: {
            auto* frame = new QGroupBox(caption, parent);
            frame->setAutoFillBackground(true);
            PaintWhite(frame, QPalette::Window);
            return frame;
        }
        case ControlKind::PathBox:
            return new DocumentPathEdit(parent);
        case ControlKind::CheckBox:
            break;
    }
    throw std::logic_error(std::string("Form1 has no kind of control for ") + design.name);
}

// The designed icon: one square image, every pixel transparent.
QIcon BlankIcon(int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    return QIcon(pixmap);
}

}  // namespace

Form1::Form1(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      handlers_(platform, *this) {
    const WindowDesign& design = kForm1Design;
    setObjectName(design.name);
    setWindowTitle(design.caption);
    setWindowIcon(BlankIcon(design.blankIconSide));
    setFont(FontOf(kWindowFont));
    setAutoFillBackground(true);
    PaintWhite(this, QPalette::Window);
    setFixedSize(Twips(design.client.width), Twips(design.client.height));
    createControls();
    chainTabOrder();
    followTheMouse();
    findChild<QWidget*>(design.firstFocus)->setFocus();

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
    for (const ControlDesign& design : kForm1Design.controls) {
        QWidget* parent = objectName() == design.parent ? this : findChild<QWidget*>(design.parent);
        QWidget* control = MakeControl(design, parent);
        control->setObjectName(design.name);
        control->setFont(FontOf(FontFor(design.font)));
        control->setGeometry(TwipsRect(design.place));
        if (*design.accessibleName) control->setAccessibleName(design.accessibleName);
    }
    PushButton1 = findChild<QPushButton*>("PushButton1");
    PushButton2 = findChild<QPushButton*>("PushButton2");
    PushButton4 = findChild<QPushButton*>("PushButton4");
    PushButton5 = findChild<QPushButton*>("PushButton5");
    PushButton6 = findChild<QPushButton*>("PushButton6");
    Frame1 = findChild<QGroupBox*>("Frame1");
    Frame2 = findChild<QGroupBox*>("Frame2");
    Text1Box = findChild<DocumentPathEdit*>("Text1");
    Text2Box = findChild<DocumentPathEdit*>("Text2");
}

void Form1::chainTabOrder() {
    const auto order = TabOrder(kForm1Design);
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        QWidget::setTabOrder(findChild<QWidget*>(order[i]->name),
                             findChild<QWidget*>(order[i + 1]->name));
    }
    for (const ControlDesign& design : kForm1Design.controls) {
        if (design.tabIndex < 0) findChild<QWidget*>(design.name)->setFocusPolicy(Qt::NoFocus);
    }
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
    handlers_.Form_Unload();
}

void Form1::post(std::function<void()> task) {
    // Queued to this window: dropped by Qt if the window has gone by then.
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
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
