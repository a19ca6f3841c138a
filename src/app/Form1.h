// The main window: two document paths, their browse buttons, Help, the sample button and
// "Start Comparing".
#pragma once

#include <QWidget>
#include <memory>

#include "app/Platform.h"
#include "compare/CompareCommand.h"
#include "compare/Word1.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

class Form1 : public QWidget, private DocumentPaths {
    Q_OBJECT

  public:
    explicit Form1(Platform& platform, QWidget* parent = nullptr);
    ~Form1() override;

    // Shows the window centred on the screen it opens on.
    void showCentred();

    bool IsComparing() const { return compareCommand_.IsComparing(); }

  private slots:
    void PushButton5_Click();

  private:
    std::string documentToCompare() const override;
    std::string documentToCompareWith() const override;

    void createControls();
    void setTabOrder();

    Platform& platform_;
    Word1 word1_;
    CompareCommand compareCommand_;

    QPushButton* PushButton1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLineEdit* Text2 = nullptr;
    QPushButton* PushButton6 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* PushButton4 = nullptr;
    QPushButton* PushButton5 = nullptr;
    QPushButton* PushButton2 = nullptr;
};
