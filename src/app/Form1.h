// The main window: two document paths, their browse buttons, Help, the sample button and
// "Start Comparing".
#pragma once

#include <QWidget>
#include <memory>

#include "app/Platform.h"
#include "compare/CompareCommand.h"
#include "compare/Word1.h"
#include "select/DocumentPickers.h"

class DocumentPathEdit;
class QGroupBox;
class QPushButton;

class Form1 : public QWidget, private DocumentPaths {
    Q_OBJECT

  public:
    explicit Form1(Platform& platform, QWidget* parent = nullptr);
    ~Form1() override;

    // Shows the window centred on the screen it opens on.
    void showCentred();

    bool IsComparing() const { return compareCommand_.IsComparing(); }
    // Tells the user, once, that the settings store refused a path written in the background.
    void settingsWriteFailed(const std::string& description) {
        rememberedPaths_.storeFailed(description);
    }

  private slots:
    void PushButton4_Click();
    void PushButton5_Click();
    void PushButton6_Click();
    void Text1_Change();
    void Text2_Change();

  private:
    std::string documentToCompare() const override;
    std::string documentToCompareWith() const override;

    void createControls();
    // Tab leads through the boxes, "Start Comparing", the browse buttons and the top row.
    void chainTabOrder();

    Platform& platform_;
    Word1 word1_;
    CompareCommand compareCommand_;
    RememberedPaths rememberedPaths_;

    QPushButton* PushButton1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    DocumentPathEdit* Text2 = nullptr;
    QPushButton* PushButton6 = nullptr;
    QGroupBox* Frame1 = nullptr;
    DocumentPathEdit* Text1 = nullptr;
    QPushButton* PushButton4 = nullptr;
    QPushButton* PushButton5 = nullptr;
    QPushButton* PushButton2 = nullptr;
};
