// The look of the Windows main window: its fonts and colours as designed, the skin over them,
// the owner-drawn buttons and the pointer shapes. Fonts and brushes are made once for the design
// or a skin, never while painting.
#include "app/Form1Composition.h"
#include "com/ComText.h"
#include "win32/Fonts.h"
#include "win32/Form1Window.h"

namespace {

COLORREF Colour(const Rgb& rgb) {
    return RGB(rgb.red, rgb.green, rgb.blue);
}

COLORREF Colour(const std::optional<Rgb>& rgb, COLORREF otherwise) {
    return rgb ? Colour(*rgb) : otherwise;
}

}  // namespace

// The designed look when `skin` is null; else the skin over it, the design where it says
// nothing. The look made before goes once the new one is in place.
void Form1Window::makeLook(const Skin* skin) {
    Look look;
    // What the skin leaves out keeps its colour so far: white as designed, or the button face.
    look.background = Colour(skin ? skin->window.background : std::nullopt, look_.background);
    look.frameBackground =
        Colour(skin ? skin->frame.background : std::nullopt, look_.frameBackground);
    auto font = [this](const std::optional<SkinFont>& f) {
        return win32::OwnedFont(f ? MakeFont(f->family, f->points, f->bold, dpi_) : nullptr);
    };
    look.windowFont.reset(MakeFont(kWindowFont, dpi_));
    look.buttonFont = skin && skin->button.font ? font(skin->button.font)
                                                : win32::OwnedFont(MakeFont(kButtonFont, dpi_));
    if (skin) {
        look.frameFont = font(skin->frame.font);
        look.boxFont = font(skin->box.font);
    }
    look.buttonText = Colour(skin ? skin->button.text : std::nullopt, GetSysColor(COLOR_BTNTEXT));
    look.frameText = Colour(skin ? skin->frame.text : std::nullopt, GetSysColor(COLOR_BTNTEXT));
    look.boxText = Colour(skin ? skin->box.text : std::nullopt, GetSysColor(COLOR_WINDOWTEXT));
    look.boxBackground =
        Colour(skin ? skin->box.background : std::nullopt, GetSysColor(COLOR_WINDOW));
    look.backgroundBrush.reset(CreateSolidBrush(look.background));
    look.frameBrush.reset(CreateSolidBrush(look.frameBackground));
    look.boxBrush.reset(CreateSolidBrush(look.boxBackground));
    const COLORREF face = Colour(skin ? skin->button.background : std::nullopt, RGB(255, 255, 255));
    look.buttonFace.reset(CreateSolidBrush(face));
    look.buttonHover.reset(
        CreateSolidBrush(Colour(skin ? skin->button.hover : std::nullopt, face)));
    if (skin && skin->button.border)
        look.buttonBorder.reset(CreateSolidBrush(Colour(*skin->button.border)));
    look_ = std::move(look);
}

void Form1Window::refreshLook() {
    auto set = [](HWND control, const win32::OwnedFont& font, const win32::OwnedFont& otherwise) {
        const HFONT chosen = font ? font.get() : otherwise.get();
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(chosen), TRUE);
    };
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        switch (kForm1Design.controls[i].kind) {
            case ControlKind::Frame:
                set(controls_[i], look_.frameFont, look_.windowFont);
                break;
            case ControlKind::PathBox:
                set(controls_[i], look_.boxFont, look_.windowFont);
                break;
            default:
                set(controls_[i], look_.buttonFont, look_.buttonFont);
                break;
        }
    }
    InvalidateRect(window_, nullptr, TRUE);
}

HCURSOR Form1Window::cursorFor(int shape, HWND under) const {
    if (shape == kHourglassPointer) return LoadCursorW(nullptr, IDC_WAIT);
    if (shape == kCustomPointer)
        return customCursor_ ? customCursor_.get() : LoadCursorW(nullptr, IDC_HAND);
    return reinterpret_cast<HCURSOR>(GetClassLongPtrW(under ? under : window_, GCLP_HCURSOR));
}

// Shown at once: the mouse is over the window when the handlers change the shape.
void Form1Window::setPointerShape(int shape) {
    pointerShape_ = shape;
    POINT at{};
    GetCursorPos(&at);
    SetCursor(cursorFor(shape, WindowFromPoint(at)));
}

void Form1Window::paintButtonFace() {
    look_.background = look_.frameBackground = GetSysColor(COLOR_BTNFACE);
    look_.backgroundBrush.reset(CreateSolidBrush(look_.background));
    look_.frameBrush.reset(CreateSolidBrush(look_.frameBackground));
    InvalidateRect(window_, nullptr, TRUE);
}

void Form1Window::applySkin(const Skin& skin) {
    makeLook(&skin);
    skin_ = skin;
    refreshLook();
}

void Form1Window::eraseBackground(HDC dc) {
    RECT area;
    GetClientRect(window_, &area);
    FillRect(dc, &area, look_.backgroundBrush.get());
    for (const char* frame : {"Frame1", "Frame2"}) {
        GetWindowRect(control(frame), &area);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&area), 2);
        FillRect(dc, &area, look_.frameBrush.get());
    }
}

HBRUSH Form1Window::colours(HDC dc, HWND control) {
    if (control == text1_.hwnd || control == text2_.hwnd) {
        SetTextColor(dc, look_.boxText);
        SetBkColor(dc, look_.boxBackground);
        return look_.boxBrush.get();
    }
    SetTextColor(dc, look_.frameText);
    SetBkColor(dc, look_.frameBackground);
    return look_.frameBrush.get();
}

void Form1Window::drawButton(const DRAWITEMSTRUCT& item) {
    const bool hover = item.hwndItem == hovered_;
    FillRect(item.hDC, &item.rcItem, (hover ? look_.buttonHover : look_.buttonFace).get());
    RECT edge = item.rcItem;
    if (look_.buttonBorder) {
        FrameRect(item.hDC, &edge, look_.buttonBorder.get());
    } else {
        DrawEdge(item.hDC, &edge, (item.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED,
                 BF_RECT);
    }
    const int index = static_cast<int>(item.CtlID) - kFirstControlId;
    const std::wstring caption =
        index >= 0 && index < static_cast<int>(kForm1Design.controls.size())
            ? com::Wide(kForm1Design.controls[index].caption)
            : std::wstring();
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, look_.buttonText);
    RECT text = item.rcItem;
    if (item.itemState & ODS_SELECTED) OffsetRect(&text, 1, 1);
    DrawTextW(item.hDC, caption.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(item.hDC, &focus);
    }
}
