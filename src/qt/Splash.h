// The splash window on Qt: borderless, white, not in the task bar; a picture over a frame of
// four lines, with the check box "Hide this at next startup" in the band below the picture.
#pragma once

#include <QImage>
#include <QLine>
#include <QWidget>

#include "app/errors/Prompts.h"
#include "app/settings/SettingsStore.h"
#include "splash/SplashShow.h"

class QCheckBox;

class Splash : public QWidget, public SplashView {
    Q_OBJECT

  public:
    Splash(SettingsStore& settings, Prompts& prompts, QWidget* parent = nullptr);

    void setCaption(const std::string& caption) override;
    void placeImage(int left, int top) override;
    TwipSize loadPicture(const std::string& path) override;
    void setImageHeight(int height) override;
    void setSize(int width, int height) override;
    int checkBoxHeight() const override;
    void setCheckBoxTop(int top) override;
    void placeLine(int line, int x1, int y1, int x2, int y2) override;
    void showCentred() override;
    void hide() override { QWidget::hide(); }
    bool hidesFile(const std::string& path) const override;

  protected:
    // The lines, then the picture over them; the check box, a window of its own, lies above.
    void paintEvent(QPaintEvent* event) override;

  private slots:
    void Check1_Click();

  private:
    SettingsStore& settings_;
    Prompts& prompts_;
    QCheckBox* Check1 = nullptr;
    QLine lines_[4];
    QRect image1_;
    QImage picture_;
};
