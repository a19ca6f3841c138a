#include "qt/QtShell.h"

#include <QDesktopServices>
#include <QUrl>
#include <stdexcept>

void QtShell::openWebPage(const std::string& address) {
    if (!QDesktopServices::openUrl(QUrl(QString::fromStdString(address)))) {
        throw std::runtime_error("No web browser could be started to open " + address + ".");
    }
}

void QtShell::openFolder(const std::string& folder) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)));
}
