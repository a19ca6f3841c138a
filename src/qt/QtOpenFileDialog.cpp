#include "qt/QtOpenFileDialog.h"

#include <QDir>
#include <QFileDialog>

QStringList QtOpenFileDialog::NameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed(), pattern = parts[i + 1].trimmed();
        if (description.isEmpty() && pattern.isEmpty()) continue;
        const QString shown = "(" + pattern + ")";
        filters << (description.endsWith(shown) ? description : description + " " + shown);
    }
    return filters;
}

void QtOpenFileDialog::ShowOpen() {
    QFileDialog dialog(owner_, QString::fromStdString(title_));
    // Open mode, but any name is accepted: a typed name need not exist yet.
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(NameFilters(filter_));
    if (!fileName_.empty()) dialog.selectFile(QString::fromStdString(fileName_));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    // Qt answers with forward slashes everywhere; the box, the store and the word processor
    // get the path as the platform writes it (C:\... on Windows).
    fileName_ = QDir::toNativeSeparators(dialog.selectedFiles().first()).toStdString();
}
