// The splash window as a native Windows window: a borderless tool window, white, its picture
// loaded by the platform's picture loader and painted over a frame of four lines, the check box
// in the band below.
#pragma once

#include <windows.h>

#include <olectl.h>

#include "app/errors/Prompts.h"
#include "app/settings/SettingsStore.h"
#include "com/ComOwners.h"
#include "splash/SplashShow.h"
#include "win32/Handles.h"

class SplashWindow : public SplashView {
  public:
    SplashWindow(SettingsStore& settings, Prompts& prompts, HINSTANCE instance);
    ~SplashWindow() override;
    SplashWindow(const SplashWindow&) = delete;
    SplashWindow& operator=(const SplashWindow&) = delete;

    HWND handle() const { return window_; }
    HWND checkBox() const { return check1_; }

    void setCaption(const std::string& caption) override;
    void placeImage(int left, int top) override;
    TwipSize loadPicture(const std::string& path) override;
    void setImageHeight(int height) override;
    void setSize(int width, int height) override;
    int checkBoxHeight() const override;
    void setCheckBoxTop(int top) override;
    void placeLine(int line, int x1, int y1, int x2, int y2) override;
    void showCentred() override;
    void hide() override { ShowWindow(window_, SW_HIDE); }
    bool hidesFile(const std::string& path) const override;

  private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    void paint(HDC dc);
    int pixels(int twips) const { return MulDiv(twips, dpi_, 1440); }
    int twips(int pixels) const { return MulDiv(pixels, 1440, dpi_); }

    SettingsStore& settings_;
    Prompts& prompts_;
    HWND window_ = nullptr;
    HWND check1_ = nullptr;
    win32::OwnedFont font_;
    win32::OwnedPen pen_;
    int dpi_ = 96;
    RECT image1_{};
    POINT lines_[4][2] = {};
    com::ComPtr<IPicture> picture_;
    SIZE pictureSize_{};  // in pixels
};
