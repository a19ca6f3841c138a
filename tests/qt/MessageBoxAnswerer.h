// Answers the real Qt message boxes that a handler shows, recording what each one said.
#pragma once

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <string>
#include <vector>

class MessageBoxAnswerer {
  public:
    struct Seen {
        std::string title;
        std::string text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
        int lines;  // as many as the text takes on the screen
    };

    // `answer` is the button pressed on every box that offers it; otherwise OK.
    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok) {
        QObject::connect(&timer_, &QTimer::timeout, [this, answer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box->property("answered").toBool()) return;
            box->setProperty("answered", true);
            const QPushButton* byDefault = box->defaultButton();
            const auto* label = box->findChild<QLabel*>("qt_msgbox_label");
            seen.push_back({box->windowTitle().toStdString(), box->text().toStdString(),
                            box->icon(), box->standardButtons(),
                            byDefault ? box->standardButton(const_cast<QPushButton*>(byDefault))
                                      : QMessageBox::NoButton,
                            label ? label->height() / label->fontMetrics().lineSpacing() : 0});
            QAbstractButton* button = box->button(answer);
            if (!button) button = box->button(QMessageBox::Ok);
            button->click();
        });
        timer_.start(5);
    }

    std::vector<Seen> seen;

  private:
    QTimer timer_;
};
