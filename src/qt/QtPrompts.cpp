#include "qt/QtPrompts.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QShortcut>

#include "app/errors/ReportError.h"

namespace {

// The message texts break lines with CR LF or a lone CR; the widget wants LF.
QString DisplayText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace("\r\n", "\n");
    shown.replace('\r', '\n');
    return shown;
}

QMessageBox::StandardButton Show(QMessageBox::Icon icon, const std::string& title,
                                 const std::string& text, QMessageBox::StandardButtons buttons,
                                 QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, QString::fromStdString(title), DisplayText(text), buttons,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
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
