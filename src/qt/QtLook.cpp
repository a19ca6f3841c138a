#include "qt/QtLook.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>

namespace {

QColor Colour(const Rgb& rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

QString Css(const Rgb& rgb) {
    return Colour(rgb).name();
}

QFont Font(const SkinFont& font) {
    QFont made(QString::fromStdString(font.family));
    made.setPointSizeF(font.points);
    made.setBold(font.bold);
    return made;
}

void Paint(QWidget& widget, const SkinPart& part, QPalette::ColorRole background,
           QPalette::ColorRole text) {
    QPalette palette = widget.palette();
    if (part.background) palette.setColor(background, Colour(*part.background));
    if (part.text) palette.setColor(text, Colour(*part.text));
    widget.setPalette(palette);
    if (part.font) widget.setFont(Font(*part.font));
}

// Buttons and boxes take their edges and hover colour from a style sheet, which also carries
// their colours: a style sheet and a palette do not mix on one widget.
QString EdgedStyle(const char* type, const SkinPart& part, const char* textRole) {
    QString style = QString("%1 {").arg(type);
    if (part.background) style += " background-color: " + Css(*part.background) + ";";
    if (part.text) style += QString(" %1: ").arg(textRole) + Css(*part.text) + ";";
    if (part.border) style += " border: 1px solid " + Css(*part.border) + "; border-radius: 3px;";
    style += " }";
    if (part.hover) {
        style += QString(" %1:hover { background-color: %2; }").arg(type, Css(*part.hover));
    }
    return style;
}

}  // namespace

QCursor CursorFromImage(const CursorImage& image) {
    QImage picture;
    if (!image.png.empty()) {
        picture = QImage::fromData(reinterpret_cast<const uchar*>(image.png.data()),
                                   static_cast<int>(image.png.size()), "PNG");
    } else {
        picture = QImage(reinterpret_cast<const uchar*>(image.argb.data()), image.width,
                         image.height, QImage::Format_ARGB32)
                      .copy();
    }
    if (picture.isNull()) throw CursorError("The cursor's picture cannot be shown.");
    return QCursor(QPixmap::fromImage(picture), image.hotspotX, image.hotspotY);
}

void PaintSkin(QWidget& window, const QList<QGroupBox*>& frames, const QList<QPushButton*>& buttons,
               const QList<QLineEdit*>& boxes, const Skin& skin) {
    Paint(window, skin.window, QPalette::Window, QPalette::WindowText);
    for (QGroupBox* frame : frames)
        Paint(*frame, skin.frame, QPalette::Window, QPalette::WindowText);
    const QString buttonStyle = EdgedStyle("QPushButton", skin.button, "color");
    for (QPushButton* button : buttons) {
        if (skin.button.font) button->setFont(Font(*skin.button.font));
        button->setStyleSheet(buttonStyle);
    }
    const QString boxStyle = EdgedStyle("QLineEdit", skin.box, "color");
    for (QLineEdit* box : boxes) {
        if (skin.box.font) box->setFont(Font(*skin.box.font));
        box->setStyleSheet(boxStyle);
    }
}

void PaintButtonFace(const QList<QWidget*>& widgets) {
    const QColor face = QApplication::palette().color(QPalette::Active, QPalette::Button);
    for (QWidget* widget : widgets) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, face);
        widget->setPalette(palette);
    }
}
