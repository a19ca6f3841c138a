#include "qt/Splash.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QScreen>
#include <stdexcept>

#include "qt/DesignUnits.h"
#include "splash/SplashComposition.h"

namespace {

// Larger pictures are refused before they are decoded: no splash needs more.
constexpr int kLargestPictureSide = 8192;

int ToTwips(int pixels) {
    return pixels * 15;
}

}  // namespace

Splash::Splash(SettingsStore& settings, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), settings_(settings), prompts_(prompts) {
    const WindowDesign& design = kSplashDesign;
    setObjectName(design.name);
    setWindowTitle(design.caption);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    resize(Twips(design.client.width), Twips(design.client.height));

    const ControlDesign& check = design.controls.front();
    Check1 = new QCheckBox(check.caption, this);
    Check1->setObjectName(check.name);
    Check1->setFont(FontOf(FontFor(check.font)));
    Check1->setGeometry(TwipsRect(check.place));
    Check1->setFocus();
    connect(Check1, &QCheckBox::clicked, this, &Splash::Check1_Click);
    // The designed places, all replaced when the splash is shown.
    for (std::size_t i = 0; i < kSplashLines.size(); ++i) {
        const TwipLine& line = kSplashLines[i];
        lines_[i] = QLine(Twips(line.x1), Twips(line.y1), Twips(line.x2), Twips(line.y2));
    }
    image1_ = TwipsRect(kSplashImage);
}

void Splash::Check1_Click() {
    ::Check1_Click(settings_, prompts_, Check1->isChecked());
}

void Splash::setCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

void Splash::placeImage(int left, int top) {
    image1_.moveTo(Twips(left), Twips(top));
}

TwipSize Splash::loadPicture(const std::string& path) {
    QImageReader reader(QString::fromStdString(path));
    const QSize size = reader.size();
    if (size.width() > kLargestPictureSide || size.height() > kLargestPictureSide) {
        throw std::runtime_error("The splash picture \"" + path + "\" is too large to show.");
    }
    const QImage picture = reader.read();
    if (picture.isNull()) {
        throw std::runtime_error("The splash picture \"" + path +
                                 "\" cannot be loaded: " + reader.errorString().toStdString());
    }
    picture_ = picture;
    image1_.setSize(picture.size());
    update();
    return {ToTwips(picture.width()), ToTwips(picture.height())};
}

void Splash::setImageHeight(int height) {
    image1_.setHeight(Twips(height));
}

void Splash::setSize(int width, int height) {
    setFixedSize(Twips(width), Twips(height));
}

int Splash::checkBoxHeight() const {
    return ToTwips(Check1->height());
}

void Splash::setCheckBoxTop(int top) {
    Check1->move(Check1->x(), Twips(top));
}

void Splash::placeLine(int line, int x1, int y1, int x2, int y2) {
    lines_[line - 1] = QLine(Twips(x1), Twips(y1), Twips(x2), Twips(y2));
    update();
}

void Splash::showCentred() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
}

bool Splash::hidesFile(const std::string& path) const {
    return QFileInfo(QString::fromStdString(path)).isHidden();
}

void Splash::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    for (const QLine& line : lines_) painter.drawLine(line);
    // The picture box does not stretch: the picture at its own size from the box's corner.
    if (!picture_.isNull()) painter.drawImage(image1_.topLeft(), picture_);
}
