// The look of the Windows main window: its fonts and colours as designed, the skin over them,
// the owner-drawn buttons and the pointer shapes.
#include "com/ComText.h"
#include "win32/Form1Window.h"

namespace {

COLORREF Colour(const Rgb& rgb) {
    return RGB(rgb.red, rgb.green, rgb.blue);
}

HFONT MakeFont(const std::string& family, double points, bool bold, int dpi) {
    return CreateFontW(-static_cast<int>(points * dpi / 72.0 + 0.5), 0, 0, 0,
                       bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, com::Wide(family).c_str());
}

void Replace(HBRUSH& brush, COLORREF colour) {
    if (brush) DeleteObject(brush);
    brush = CreateSolidBrush(colour);
}

void Replace(HFONT& font, HFONT made) {
    if (font) DeleteObject(font);
    font = made;
}

}  // namespace

void Form1Window::makeDesignedLook() {
    windowFont_ = MakeFont("Arial", 9, true, dpi_);
    buttonFont_ = MakeFont("Arial", 11.25, true, dpi_);
    Replace(backgroundBrush_, background_);
    Replace(frameBrush_, frameBackground_);
    Replace(boxBrush_, GetSysColor(COLOR_WINDOW));
}

void Form1Window::refreshLook() {
    for (HWND control : {frame1_, frame2_}) {
        SendMessageW(control, WM_SETFONT,
                     reinterpret_cast<WPARAM>(frameFont_ ? frameFont_ : windowFont_), TRUE);
    }
    for (HWND control : {text1_.hwnd, text2_.hwnd}) {
        SendMessageW(control, WM_SETFONT,
                     reinterpret_cast<WPARAM>(boxFont_ ? boxFont_ : windowFont_), TRUE);
    }
    for (HWND control : buttons_) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_), TRUE);
    }
    InvalidateRect(window_, nullptr, TRUE);
}

HCURSOR Form1Window::cursorFor(int shape, HWND under) const {
    if (shape == kHourglassPointer) return LoadCursorW(nullptr, IDC_WAIT);
    if (shape == kCustomPointer)
        return customCursor_ ? customCursor_ : LoadCursorW(nullptr, IDC_HAND);
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
    background_ = frameBackground_ = GetSysColor(COLOR_BTNFACE);
    Replace(backgroundBrush_, background_);
    Replace(frameBrush_, frameBackground_);
    InvalidateRect(window_, nullptr, TRUE);
}

void Form1Window::applySkin(const Skin& skin) {
    skin_ = skin;
    if (skin.window.background) background_ = Colour(*skin.window.background);
    if (skin.frame.background) frameBackground_ = Colour(*skin.frame.background);
    Replace(backgroundBrush_, background_);
    Replace(frameBrush_, frameBackground_);
    Replace(boxBrush_,
            skin.box.background ? Colour(*skin.box.background) : GetSysColor(COLOR_WINDOW));
    auto font = [this](const std::optional<SkinFont>& f) {
        return f ? MakeFont(f->family, f->points, f->bold, dpi_) : nullptr;
    };
    Replace(frameFont_, font(skin.frame.font));
    Replace(boxFont_, font(skin.box.font));
    if (skin.button.font) Replace(buttonFont_, font(skin.button.font));
    refreshLook();
}

HBRUSH Form1Window::colours(HDC dc, HWND control) {
    const bool isBox = control == text1_.hwnd || control == text2_.hwnd;
    const SkinPart* part = skin_ ? (isBox ? &skin_->box : &skin_->frame) : nullptr;
    const COLORREF text = part && part->text
                              ? Colour(*part->text)
                              : GetSysColor(isBox ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
    SetTextColor(dc, text);
    if (isBox) {
        SetBkColor(dc, skin_ && skin_->box.background ? Colour(*skin_->box.background)
                                                      : GetSysColor(COLOR_WINDOW));
        return boxBrush_;
    }
    SetBkColor(dc, frameBackground_);
    return frameBrush_;
}

void Form1Window::drawButton(const DRAWITEMSTRUCT& item) {
    const SkinPart* part = skin_ ? &skin_->button : nullptr;
    COLORREF fill = RGB(255, 255, 255);
    if (part && part->background) fill = Colour(*part->background);
    if (item.hwndItem == hovered_ && part && part->hover) fill = Colour(*part->hover);
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(item.hDC, &item.rcItem, brush);
    DeleteObject(brush);
    RECT edge = item.rcItem;
    if (part && part->border) {
        HBRUSH border = CreateSolidBrush(Colour(*part->border));
        FrameRect(item.hDC, &edge, border);
        DeleteObject(border);
    } else {
        DrawEdge(item.hDC, &edge, (item.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED,
                 BF_RECT);
    }
    wchar_t caption[64] = {};
    GetWindowTextW(item.hwndItem, caption, 64);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, part && part->text ? Colour(*part->text) : GetSysColor(COLOR_BTNTEXT));
    RECT text = item.rcItem;
    if (item.itemState & ODS_SELECTED) OffsetRect(&text, 1, 1);
    DrawTextW(item.hDC, caption, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(item.hDC, &focus);
    }
}
