#include "qt/DocumentPathEdit.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>

QString DocumentPathEdit::DroppedFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return {};
    const QUrl url = mime->urls().first();
    if (!url.isLocalFile()) return {};
    const QString path = url.toLocalFile();
    return QFileInfo(path).isDir() ? QString() : path;
}

// Anything but one local file is refused outright, so a dropped text never lands in the box.
void DocumentPathEdit::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedFile(event->mimeData()).isEmpty()) {
        event->ignore();
    } else {
        event->acceptProposedAction();
    }
}

void DocumentPathEdit::dragMoveEvent(QDragMoveEvent* event) {
    if (DroppedFile(event->mimeData()).isEmpty()) {
        event->ignore();
    } else {
        event->acceptProposedAction();
    }
}

void DocumentPathEdit::dropEvent(QDropEvent* event) {
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    QLineEdit::setText(path);
    event->acceptProposedAction();
}
