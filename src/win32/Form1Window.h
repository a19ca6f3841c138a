// The main window as a native Windows window: the controls of the core's composition at their
// twip places at the window's DPI, every event handed to the plain C++ handlers, the skin through
// the controls' colour messages and owner-drawn buttons, the hand cursor through WM_SETCURSOR.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Form1Handlers.h"
#include "app/Form1View.h"
#include "app/Platform.h"
#include "app/Program.h"
#include "win32/Handles.h"

// The dots per inch of the screen.
int ScreenDpi();

class Form1Window : public Form1View, public MainWindow {
  public:
    Form1Window(Platform& platform, HINSTANCE instance, int dpi = ScreenDpi());
    ~Form1Window() override;
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;

    HWND handle() const { return window_; }
    // The control that the composition names `name`; nullptr when there is none.
    HWND control(std::string_view name) const;
    // The start-up sequence, while the window is still hidden.
    void Form_Load() { handlers_.Form_Load(); }
    // For the message loop: Tab and Shift+Tab move along the tab order. Answers whether the
    // message was taken.
    bool takeKey(const MSG& message);

    Form1Handlers& handlers() override { return handlers_; }
    void showCentred() override;
    void post(std::function<void()> task) override;

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
    // The controls' ids follow the composition's order from here.
    static constexpr int kFirstControlId = 101;

    class EditBox : public PathBox {
      public:
        HWND hwnd = nullptr;
        std::string currentText() const override;
        void assignText(const std::string& text) override;
    };

    // Fonts and brushes, made once for the design or a skin and freed with it.
    struct Look {
        win32::OwnedFont windowFont, buttonFont, frameFont, boxFont;
        COLORREF background = RGB(255, 255, 255), frameBackground = RGB(255, 255, 255);
        COLORREF buttonText = 0, frameText = 0, boxText = 0, boxBackground = 0;
        win32::OwnedBrush backgroundBrush, frameBrush, boxBrush;
        win32::OwnedBrush buttonFace, buttonHover, buttonBorder;
    };

    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void onCommand(int id, int code);
    void onControlMouse(HWND control, UINT message);
    void runPosted();
    bool isButton(HWND control) const;
    int pixels(int twips) const { return MulDiv(twips, dpi_, 1440); }
    // The look, in Form1WindowLook.cpp.
    void makeLook(const Skin* skin);
    void refreshLook();
    void drawButton(const DRAWITEMSTRUCT& item);
    HBRUSH colours(HDC dc, HWND control);
    void eraseBackground(HDC dc);
    // The pointer for `shape` over the control `under` (its own class cursor for the default).
    HCURSOR cursorFor(int shape, HWND under) const;

    Form1Handlers handlers_;
    HINSTANCE instance_;
    int dpi_;
    HWND window_ = nullptr;
    std::vector<HWND> controls_;  // in the composition's order
    EditBox text1_, text2_;
    HWND hovered_ = nullptr;
    win32::OwnedIcon blankIcon_, bigIcon_, smallIcon_;
    win32::OwnedCursor customCursor_;
    int pointerShape_ = kDefaultPointer;
    std::optional<Skin> skin_;
    Look look_;
    // Tasks posted from other threads, run on the window's own; dropped with the window.
    std::mutex postedMutex_;
    std::deque<std::function<void()>> posted_;
};
