// A path box: one line of text that also takes a single local file dropped from a file manager.
#pragma once

#include <QLineEdit>

#include "select/DocumentPickers.h"

class QMimeData;

class DocumentPathEdit : public QLineEdit, public PathBox {
    Q_OBJECT

  public:
    using QLineEdit::QLineEdit;

    std::string currentText() const override { return text().toStdString(); }
    // Emits textChanged, and so runs the change handler, only when the text differs.
    void assignText(const std::string& text) override { setText(QString::fromStdString(text)); }

    // The local file that `mime` carries when it carries exactly one, else an empty text.
    static QString DroppedFile(const QMimeData* mime);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
