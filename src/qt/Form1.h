// The main window on Qt: draws the controls as the core's composition places them and hands
// every event to the plain C++ handlers.
#pragma once

#include <QCursor>
#include <QWidget>
#include <optional>

#include "app/Form1Handlers.h"
#include "app/Form1View.h"
#include "app/Platform.h"
#include "app/Program.h"

class DocumentPathEdit;
class QGroupBox;
class QPushButton;

class Form1 : public QWidget, public Form1View, public MainWindow {
    Q_OBJECT

  public:
    explicit Form1(Platform& platform, QWidget* parent = nullptr);
    ~Form1() override;

    // The start-up sequence; the window is shown afterwards.
    void Form_Load() { handlers_.Form_Load(); }
    bool IsComparing() const { return handlers_.IsComparing(); }

    Form1Handlers& handlers() override { return handlers_; }
    // Shows the window centred on the screen it opens on.
    void showCentred() override;
    void post(std::function<void()> task) override;

    PathBox& Text1() override;
    PathBox& Text2() override;
    void setCaption(const std::string& caption) override;
    void showApplicationIcon() override;
    void setCustomCursor(const std::string& path, const CursorImage& image) override;
    int pointerShape() const override { return pointerShape_; }
    void setPointerShape(int shape) override;
    void paintButtonFace() override;
    void applySkin(const Skin& skin) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // Closing the main window ends the program at once, whatever else is open.
    void closeEvent(QCloseEvent* event) override;

  private slots:
    void PushButton1_Click() { handlers_.PushButton1_Click(); }
    void PushButton2_Click() { handlers_.PushButton2_Click(); }
    void PushButton4_Click() { handlers_.PushButton4_Click(); }
    void PushButton5_Click() { handlers_.PushButton5_Click(); }
    void PushButton6_Click() { handlers_.PushButton6_Click(); }
    void Text1_Change() { handlers_.Text1_Change(); }
    void Text2_Change() { handlers_.Text2_Change(); }

  private:
    void createControls();
    void chainTabOrder();
    void followTheMouse();
    QList<QPushButton*> buttons() const;

    Form1Handlers handlers_;
    std::optional<QCursor> customCursor_;
    int pointerShape_ = kDefaultPointer;

    QPushButton* PushButton1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    DocumentPathEdit* Text2Box = nullptr;
    QPushButton* PushButton6 = nullptr;
    QGroupBox* Frame1 = nullptr;
    DocumentPathEdit* Text1Box = nullptr;
    QPushButton* PushButton4 = nullptr;
    QPushButton* PushButton5 = nullptr;
    QPushButton* PushButton2 = nullptr;
};
