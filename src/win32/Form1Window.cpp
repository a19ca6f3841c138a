#include "win32/Form1Window.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "app/Form1Composition.h"
#include "com/ComText.h"
#include "win32/AccessibleName.h"
#include "win32/WindowPlacement.h"

namespace {

constexpr wchar_t kClassName[] = L"QuorvaneForm1";
constexpr UINT kRunPosted = WM_APP + 1;
constexpr UINT_PTR kSubclassId = 1;
constexpr int kApplicationIcon = 1;  // the resource id of the program file's icon

// The designed icon: one square image whose every pixel is transparent.
HICON BlankIcon(HINSTANCE instance, int side) {
    std::vector<BYTE> andMask(side * side / 8, 0xFF), xorMask(side * side / 8, 0x00);
    return CreateIcon(instance, side, side, 1, 1, andMask.data(), xorMask.data());
}

DWORD StyleOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Button:
            return BS_OWNERDRAW | WS_TABSTOP;
        case ControlKind::Frame:
            return BS_GROUPBOX;
        case ControlKind::PathBox:
            return ES_AUTOHSCROLL | WS_TABSTOP;
        case ControlKind::CheckBox:
            return BS_AUTOCHECKBOX | WS_TABSTOP;
    }
    return 0;
}

}  // namespace

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

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

Form1Window::Form1Window(Platform& platform, HINSTANCE instance, int dpi)
    : handlers_(platform, *this), instance_(instance), dpi_(dpi) {
    const WindowDesign& design = kForm1Design;
    blankIcon_.reset(BlankIcon(instance, design.blankIconSide));
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = WindowProc;
    type.hInstance = instance;
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.hIcon = blankIcon_.get();
    type.lpszClassName = kClassName;
    RegisterClassExW(&type);
    // Fixed single border with a minimise button. Not clipping its children: a group box paints
    // only its edge and caption, the window the rest beneath it.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, pixels(design.client.width), pixels(design.client.height)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    window_ = CreateWindowExW(0, kClassName, com::Wide(design.caption).c_str(), style,
                              CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, instance, this);
    if (!window_) throw std::runtime_error("The main window could not be made.");
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(blankIcon_.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(blankIcon_.get()));
    makeLook(nullptr);
    createControls();
}

Form1Window::~Form1Window() {
    for (HWND control : controls_) {
        RemoveWindowSubclass(control, ControlProc, kSubclassId);
        ClearAccessibleName(control);
    }
    // The window goes before the fonts and brushes that it still draws with.
    if (window_) DestroyWindow(window_);
}

HWND Form1Window::control(std::string_view name) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (name == kForm1Design.controls[i].name) return controls_[i];
    }
    return nullptr;
}

bool Form1Window::isButton(HWND control) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i] == control) return kForm1Design.controls[i].kind == ControlKind::Button;
    }
    return false;
}

// Created in the designed stacking order, bottom-most first. Every control is a child of the
// window, so a control inside a frame sits at the frame's place plus its own. An owner-drawn
// button draws its caption from the design; its window text is the name the accessibility
// layer reads out.
void Form1Window::createControls() {
    int id = kFirstControlId;
    for (const ControlDesign& design : kForm1Design.controls) {
        const bool box = design.kind == ControlKind::PathBox;
        const bool named = *design.accessibleName;
        const TwipRect place = PlaceOnWindow(kForm1Design, design);
        const std::string text =
            design.kind == ControlKind::Button && named ? design.accessibleName : design.caption;
        HWND control = CreateWindowExW(
            box ? WS_EX_CLIENTEDGE : 0, box ? L"EDIT" : L"BUTTON", com::Wide(text).c_str(),
            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | StyleOf(design.kind), pixels(place.left),
            pixels(place.top), pixels(place.width), pixels(place.height), window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance_, nullptr);
        if (!control) throw std::runtime_error("The main window's controls could not be made.");
        // Every control reports the mouse moving over it.
        SetWindowSubclass(control, ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
        if (box && named) AnnotateAccessibleName(control, design.accessibleName);
        // Each placed on top in turn: the last is the top-most, frames lie beneath their boxes.
        SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        controls_.push_back(control);
    }
    text1_.hwnd = control("Text1");
    text2_.hwnd = control("Text2");
    refreshLook();
}

void Form1Window::showCentred() {
    CentreOnWorkArea(window_, nullptr, SWP_NOZORDER);
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    SetFocus(control(kForm1Design.firstFocus));
}

bool Form1Window::takeKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
    const auto order = TabOrder(kForm1Design);
    const int count = static_cast<int>(order.size());
    for (int i = 0; i < count; ++i) {
        if (control(order[i]->name) != GetFocus()) continue;
        const bool back = GetKeyState(VK_SHIFT) < 0;
        const ControlDesign& next = *order[(i + (back ? count - 1 : 1)) % count];
        SetFocus(control(next.name));
        if (next.kind == ControlKind::PathBox) {
            SendMessageW(control(next.name), EM_SETSEL, 0, -1);
        }
        return true;
    }
    return false;
}

// The task waits in the window's own queue, so it goes with the window whatever happens to the
// message that announces it.
void Form1Window::post(std::function<void()> task) {
    {
        std::lock_guard lock(postedMutex_);
        posted_.push_back(std::move(task));
    }
    PostMessageW(window_, kRunPosted, 0, 0);
}

void Form1Window::runPosted() {
    for (;;) {
        std::function<void()> task;
        {
            std::lock_guard lock(postedMutex_);
            if (posted_.empty()) return;
            task = std::move(posted_.front());
            posted_.pop_front();
        }
        task();
    }
}

void Form1Window::setCaption(const std::string& caption) {
    SetWindowTextW(window_, com::Wide(caption).c_str());
}

void Form1Window::showApplicationIcon() {
    auto load = [this](int metric) {
        return win32::OwnedIcon(static_cast<HICON>(
            LoadImageW(instance_, MAKEINTRESOURCEW(kApplicationIcon), IMAGE_ICON,
                       GetSystemMetrics(metric), GetSystemMetrics(metric + 1), LR_DEFAULTCOLOR)));
    };
    win32::OwnedIcon big = load(SM_CXICON), small = load(SM_CXSMICON);
    if (!big || !small) throw std::runtime_error("The application icon cannot be loaded.");
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

// The file was read and checked already; Windows loads it for its own cursor.
void Form1Window::setCustomCursor(const std::string& path, const CursorImage&) {
    win32::OwnedCursor cursor(LoadCursorFromFileW(com::Wide(path).c_str()));
    if (!cursor) {
        throw std::runtime_error("The cursor file \"" + path + "\" cannot be loaded.");
    }
    customCursor_ = std::move(cursor);
}

void Form1Window::onCommand(int id, int code) {
    const int index = id - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(controls_.size())) return;
    const std::string_view name = kForm1Design.controls[index].name;
    if (code == EN_CHANGE) {
        if (name == "Text1") handlers_.Text1_Change();
        if (name == "Text2") handlers_.Text2_Change();
        return;
    }
    if (code != BN_CLICKED) return;
    if (name == "PushButton1") handlers_.PushButton1_Click();
    if (name == "PushButton2") handlers_.PushButton2_Click();
    if (name == "PushButton4") handlers_.PushButton4_Click();
    if (name == "PushButton5") handlers_.PushButton5_Click();
    if (name == "PushButton6") handlers_.PushButton6_Click();
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
        case WM_ERASEBKGND:
            eraseBackground(reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_MOUSEMOVE:
            handlers_.MouseMove(HoverArea::Surface);
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && pointerShape_ != kDefaultPointer) {
                SetCursor(cursorFor(pointerShape_, nullptr));
                return TRUE;
            }
            break;
        case kRunPosted:
            runPosted();
            return 0;
        case WM_CLOSE:
            handlers_.Form_Unload();
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

void Form1Window::onControlMouse(HWND control, UINT message) {
    if (message == WM_MOUSEMOVE) {
        const bool button = isButton(control);
        handlers_.MouseMove(button ? HoverArea::Button : HoverArea::Surface);
        if (button && hovered_ != control) {
            if (hovered_) InvalidateRect(hovered_, nullptr, FALSE);
            hovered_ = control;
            InvalidateRect(control, nullptr, FALSE);
            TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, control, 0};
            TrackMouseEvent(&leave);
        }
    } else if (message == WM_MOUSELEAVE && hovered_ == control) {
        hovered_ = nullptr;
        InvalidateRect(control, nullptr, FALSE);
    }
}

LRESULT CALLBACK Form1Window::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR self) {
    if (message == WM_MOUSEMOVE || message == WM_MOUSELEAVE) {
        reinterpret_cast<Form1Window*>(self)->onControlMouse(hwnd, message);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}
