// The main window as a native Windows window: the controls at their twip positions at the
// window's DPI, every event handed to the plain C++ handlers, the skin through the controls'
// colour messages and owner-drawn buttons, the hand cursor through WM_SETCURSOR.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "app/Form1Handlers.h"
#include "app/Form1View.h"
#include "app/Platform.h"

class Form1Window : public Form1View {
  public:
    // The controls' ids, in the window's stacking order.
    enum ControlId {
        kPushButton1 = 101,
        kFrame2,
        kText2,
        kPushButton6,
        kFrame1,
        kText1,
        kPushButton4,
        kPushButton5,
        kPushButton2
    };

    Form1Window(Platform& platform, HINSTANCE instance);
    ~Form1Window() override;
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;

    HWND handle() const { return window_; }
    // The start-up sequence, while the window is still hidden.
    void Form_Load() { handlers_.Form_Load(); }
    void showCentred();
    // For the message loop: Tab and Shift+Tab move along the tab order. Answers whether the
    // message was taken.
    bool takeKey(const MSG& message);
    // Safe from any thread: the failure is told on the window's own thread.
    void settingsWriteFailed(const std::string& description);

    PathBox& Text1() override { return text1_; }
    PathBox& Text2() override { return text2_; }
    void setCaption(const std::string& caption) override;
    void showApplicationIcon() override;
    void setCustomCursor(const std::string& path, const CursorImage& image) override;
    int pointerShape() const override { return pointerShape_; }
    void setPointerShape(int shape) override;
    void paintButtonFace() override;
    void applySkin(const Skin& skin) override;

  private:
    class EditBox : public PathBox {
      public:
        HWND hwnd = nullptr;
        std::string currentText() const override;
        void assignText(const std::string& text) override;
    };

    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    HWND makeControl(const wchar_t* kind, const wchar_t* text, DWORD style, int left, int top,
                     int width, int height, int id);
    void onCommand(int id, int code);
    void drawButton(const DRAWITEMSTRUCT& item);
    HBRUSH colours(HDC dc, HWND control);
    int pixels(int twips) const;
    // The pointer for `shape` over the control `under` (its own class cursor for the default).
    HCURSOR cursorFor(int shape, HWND under) const;
    // The look, in Form1WindowLook.cpp.
    void makeDesignedLook();
    void refreshLook();

    Platform& platform_;
    Form1Handlers handlers_;
    HINSTANCE instance_;
    HWND window_ = nullptr;
    int dpi_ = 96;
    EditBox text1_, text2_;
    HWND frame1_ = nullptr, frame2_ = nullptr;
    HWND buttons_[5] = {};  // PushButton1, 2, 4, 5, 6
    HWND tabOrder_[7] = {};
    HWND hovered_ = nullptr;
    HICON blankIcon_ = nullptr, bigIcon_ = nullptr, smallIcon_ = nullptr;
    HCURSOR customCursor_ = nullptr;
    int pointerShape_ = kDefaultPointer;
    HFONT windowFont_ = nullptr, buttonFont_ = nullptr, frameFont_ = nullptr, boxFont_ = nullptr;
    COLORREF background_ = RGB(255, 255, 255), frameBackground_ = RGB(255, 255, 255);
    std::optional<Skin> skin_;
    HBRUSH backgroundBrush_ = nullptr, frameBrush_ = nullptr, boxBrush_ = nullptr;
};
