#include "win32/Form1Window.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

#include "app/Product.h"
#include "com/ComText.h"
#include "win32/WindowPlacement.h"

namespace {

constexpr wchar_t kClassName[] = L"QuorvaneForm1";
constexpr wchar_t kOldProc[] = L"QuorvaneControlProc";
constexpr UINT kSettingsFailed = WM_APP + 1;
constexpr int kApplicationIcon = 1;  // the resource id of the program file's icon

// The designed icon: one 32 x 32 image whose every pixel is transparent.
HICON BlankIcon(HINSTANCE instance) {
    std::vector<BYTE> andMask(32 * 32 / 8, 0xFF), xorMask(32 * 32 / 8, 0x00);
    return CreateIcon(instance, 32, 32, 1, 1, andMask.data(), xorMask.data());
}

}  // namespace

std::string Form1Window::EditBox::currentText() const {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return com::Utf8(text.c_str(), static_cast<int>(text.size()));
}

// The change handler runs, through EN_CHANGE, only when the text differs.
void Form1Window::EditBox::assignText(const std::string& text) {
    if (text == currentText()) return;
    SetWindowTextW(hwnd, com::Wide(text).c_str());
}

Form1Window::Form1Window(Platform& platform, HINSTANCE instance)
    : platform_(platform), handlers_(platform, *this), instance_(instance) {
    HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    blankIcon_ = BlankIcon(instance);
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = WindowProc;
    type.hInstance = instance;
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.hIcon = blankIcon_;
    type.lpszClassName = kClassName;
    RegisterClassExW(&type);
    // Fixed single border with a minimise button; the client area is 8040 x 2880 twips.
    // Not clipping its children: a group box paints only its edge and caption, the window the
    // rest beneath it.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, pixels(8040), pixels(2880)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    window_ = CreateWindowExW(0, kClassName, L"Form1", style, CW_USEDEFAULT, CW_USEDEFAULT,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              instance, this);
    if (!window_) throw std::runtime_error("The main window could not be made.");
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(blankIcon_));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(blankIcon_));
    makeDesignedLook();
    createControls();
}

Form1Window::~Form1Window() {
    if (window_) DestroyWindow(window_);
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(windowFont_), static_cast<HGDIOBJ>(buttonFont_),
                           static_cast<HGDIOBJ>(frameFont_), static_cast<HGDIOBJ>(boxFont_),
                           static_cast<HGDIOBJ>(backgroundBrush_),
                           static_cast<HGDIOBJ>(frameBrush_), static_cast<HGDIOBJ>(boxBrush_)}) {
        if (object) DeleteObject(object);
    }
    for (HICON icon : {blankIcon_, bigIcon_, smallIcon_}) {
        if (icon) DestroyIcon(icon);
    }
    if (customCursor_) DestroyCursor(customCursor_);
}

int Form1Window::pixels(int twips) const {
    return MulDiv(twips, dpi_, 1440);
}

HWND Form1Window::makeControl(const wchar_t* kind, const wchar_t* text, DWORD style, int left,
                              int top, int width, int height, int id) {
    HWND control =
        CreateWindowExW(std::wstring(kind) == L"EDIT" ? WS_EX_CLIENTEDGE : 0, kind, text,
                        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, pixels(left), pixels(top),
                        pixels(width), pixels(height), window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    // Every control reports the mouse moving over it.
    SetPropW(control, kOldProc,
             reinterpret_cast<HANDLE>(SetWindowLongPtrW(control, GWLP_WNDPROC,
                                                        reinterpret_cast<LONG_PTR>(ControlProc))));
    return control;
}

// Created in the designed stacking order, bottom-most first; controls inside a frame sit at the
// frame's position plus their own.
void Form1Window::createControls() {
    const DWORD button = BS_OWNERDRAW | WS_TABSTOP;
    const DWORD box = ES_AUTOHSCROLL | WS_TABSTOP;
    buttons_[0] = makeControl(L"BUTTON", L"Help", button, 120, 120, 3840, 405, kPushButton1);
    frame2_ = makeControl(L"BUTTON", L"Word File #2", BS_GROUPBOX, 120, 1410, 7800, 800, kFrame2);
    text2_.hwnd = makeControl(L"EDIT", L"", box, 360, 1710, 6600, 345, kText2);
    buttons_[4] = makeControl(L"BUTTON", L"...", button, 7080, 1710, 600, 345, kPushButton6);
    frame1_ = makeControl(L"BUTTON", L"Word File #1", BS_GROUPBOX, 120, 570, 7800, 800, kFrame1);
    text1_.hwnd = makeControl(L"EDIT", L"", box, 360, 870, 6600, 345, kText1);
    buttons_[2] = makeControl(L"BUTTON", L"...", button, 7080, 870, 600, 345, kPushButton4);
    buttons_[3] =
        makeControl(L"BUTTON", L"Start Comparing", button, 120, 2340, 7800, 405, kPushButton5);
    buttons_[1] = makeControl(L"BUTTON", L"Load Sample/Example Files", button, 4080, 120, 3840, 405,
                              kPushButton2);
    // Windows' own order is set outright: each control placed on top in turn, so that the last
    // is the top-most and the frames lie beneath what they hold.
    HWND order[] = {buttons_[0], frame2_,     text2_.hwnd, buttons_[4], frame1_,
                    text1_.hwnd, buttons_[2], buttons_[3], buttons_[1]};
    for (HWND control : order) {
        SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    const HWND tabs[] = {text1_.hwnd, text2_.hwnd, buttons_[3], buttons_[2],
                         buttons_[4], buttons_[0], buttons_[1]};
    std::copy(std::begin(tabs), std::end(tabs), tabOrder_);
    refreshLook();
}

void Form1Window::showCentred() {
    CentreOnWorkArea(window_, nullptr, SWP_NOZORDER);
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    SetFocus(text1_.hwnd);
}

bool Form1Window::takeKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
    const HWND focus = GetFocus();
    const int count = static_cast<int>(std::size(tabOrder_));
    for (int i = 0; i < count; ++i) {
        if (tabOrder_[i] != focus) continue;
        const bool back = GetKeyState(VK_SHIFT) < 0;
        HWND next = tabOrder_[(i + (back ? count - 1 : 1)) % count];
        SetFocus(next);
        if (next == text1_.hwnd || next == text2_.hwnd) SendMessageW(next, EM_SETSEL, 0, -1);
        return true;
    }
    return false;
}

void Form1Window::settingsWriteFailed(const std::string& description) {
    PostMessageW(window_, kSettingsFailed, 0,
                 reinterpret_cast<LPARAM>(new std::string(description)));
}

void Form1Window::setCaption(const std::string& caption) {
    SetWindowTextW(window_, com::Wide(caption).c_str());
}

void Form1Window::showApplicationIcon() {
    auto load = [this](int metric) {
        return static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kApplicationIcon),
                                             IMAGE_ICON, GetSystemMetrics(metric),
                                             GetSystemMetrics(metric + 1), LR_DEFAULTCOLOR));
    };
    HICON big = load(SM_CXICON), small = load(SM_CXSMICON);
    if (!big || !small) throw std::runtime_error("The application icon cannot be loaded.");
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    bigIcon_ = big;
    smallIcon_ = small;
}

// The file was read and checked already; Windows loads it for its own cursor.
void Form1Window::setCustomCursor(const std::string& path, const CursorImage&) {
    HCURSOR cursor = LoadCursorFromFileW(com::Wide(path).c_str());
    if (!cursor) {
        throw std::runtime_error("The cursor file \"" + path + "\" cannot be loaded.");
    }
    if (customCursor_) DestroyCursor(customCursor_);
    customCursor_ = cursor;
}

void Form1Window::onCommand(int id, int code) {
    if (code == EN_CHANGE) {
        if (id == kText1) handlers_.Text1_Change();
        if (id == kText2) handlers_.Text2_Change();
        return;
    }
    if (code != BN_CLICKED) return;
    switch (id) {
        case kPushButton1:
            handlers_.PushButton1_Click();
            break;
        case kPushButton2:
            handlers_.PushButton2_Click();
            break;
        case kPushButton4:
            handlers_.PushButton4_Click();
            break;
        case kPushButton5:
            handlers_.PushButton5_Click();
            break;
        case kPushButton6:
            handlers_.PushButton6_Click();
            break;
        default:
            break;
    }
}

LRESULT Form1Window::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_DRAWITEM:
            drawButton(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return reinterpret_cast<LRESULT>(
                colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        case WM_ERASEBKGND: {
            const HDC dc = reinterpret_cast<HDC>(wParam);
            RECT area;
            GetClientRect(window_, &area);
            FillRect(dc, &area, backgroundBrush_);
            for (HWND frame : {frame1_, frame2_}) {
                GetWindowRect(frame, &area);
                MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&area), 2);
                FillRect(dc, &area, frameBrush_);
            }
            return 1;
        }
        case WM_MOUSEMOVE:
            handlers_.MouseMove(HoverArea::Surface);
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && pointerShape_ != kDefaultPointer) {
                SetCursor(cursorFor(pointerShape_, nullptr));
                return TRUE;
            }
            break;
        case kSettingsFailed: {
            std::unique_ptr<std::string> description(reinterpret_cast<std::string*>(lParam));
            handlers_.settingsWriteFailed(*description);
            return 0;
        }
        case WM_CLOSE:
            // Closing the main window ends the program at once, whatever else is open.
            platform_.end.endNow(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK Form1Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<Form1Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = hwnd;
    }
    auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->onMessage(message, wParam, lParam)
                : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Form1Window::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto old = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kOldProc));
    auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(GetParent(hwnd), GWLP_USERDATA));
    if (self && message == WM_MOUSEMOVE) {
        const bool isButton = std::find(std::begin(self->buttons_), std::end(self->buttons_),
                                        hwnd) != std::end(self->buttons_);
        self->handlers_.MouseMove(isButton ? HoverArea::Button : HoverArea::Surface);
        if (isButton && self->hovered_ != hwnd) {
            if (self->hovered_) InvalidateRect(self->hovered_, nullptr, FALSE);
            self->hovered_ = hwnd;
            InvalidateRect(hwnd, nullptr, FALSE);
            TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&leave);
        }
    } else if (self && message == WM_MOUSELEAVE && self->hovered_ == hwnd) {
        self->hovered_ = nullptr;
        InvalidateRect(hwnd, nullptr, FALSE);
    }
    return CallWindowProcW(old, hwnd, message, wParam, lParam);
}
