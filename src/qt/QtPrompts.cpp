#include "qt/QtPrompts.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <algorithm>

#include "app/errors/ReportError.h"

namespace {

// The message texts break lines with CR LF or a lone CR; the widget wants LF.
QString DisplayText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace("\r\n", "\n");
    shown.replace('\r', '\n');
    return shown;
}

// Qt breaks a line after a slash, so a web address near the end of a long line would be split in
// two, and could no longer be read or typed off the screen. The label is made wide enough for
// each line that holds one, as far as the screen allows, and the address on its own otherwise.
void KeepAddressesWhole(QMessageBox& box, const QString& text) {
    auto* label = box.findChild<QLabel*>("qt_msgbox_label");
    if (!label) return;
    const QFontMetrics metrics(label->font());
    const QScreen* screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    const int widest = screen ? screen->availableGeometry().width() * 8 / 10 : 800;
    int needed = 0;
    for (const QString& line : text.split('\n')) {
        if (!line.contains("://")) continue;
        int width = metrics.horizontalAdvance(line);
        if (width > widest) {
            for (const QString& word : line.split(' ')) {
                if (word.contains("://")) width = std::min(widest, metrics.horizontalAdvance(word));
            }
        }
        needed = std::max(needed, width + 2);
    }
    if (needed > 0) label->setMinimumWidth(needed);
}

QMessageBox::StandardButton Show(QMessageBox::Icon icon, const std::string& title,
                                 const std::string& text, QMessageBox::StandardButtons buttons,
                                 QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, QString::fromStdString(title), DisplayText(text), buttons,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    KeepAddressesWhole(box, box.text());
    // As Windows' own message boxes do, Ctrl+C copies the title and the text, so that a report
    // can be pasted into an e-mail rather than typed off the screen.
    QShortcut copy(QKeySequence::Copy, &box);
    QObject::connect(&copy, &QShortcut::activated, [&box] {
        QGuiApplication::clipboard()->setText(box.windowTitle() + "\n\n" + box.text());
    });
    box.setWindowModality(Qt::ApplicationModal);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void QtPrompts::inform(const std::string& text) {
    Show(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, QMessageBox::Ok);
}

Prompts::Answer QtPrompts::ask(const std::string& text) {
    const auto answer = Show(QMessageBox::NoIcon, applicationTitle(), text,
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    return answer == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void QtPrompts::reportError(const std::string& text) {
    Show(QMessageBox::Warning, kErrorReportTitle, text, QMessageBox::Ok, QMessageBox::Ok);
}
