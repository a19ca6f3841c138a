#include "win32/SplashWindow.h"

#include <stdexcept>

#include "com/ComText.h"
#include "splash/SplashComposition.h"
#include "win32/Fonts.h"
#include "win32/WindowPlacement.h"

namespace {
constexpr wchar_t kClassName[] = L"QuorvaneSplash";
constexpr int kCheck1 = 201;

POINT At(int x, int y, int dpi) {
    return {MulDiv(x, dpi, 1440), MulDiv(y, dpi, 1440)};
}

// Larger pictures are refused: no splash needs more.
constexpr int kLargestPictureSide = 8192;
}  // namespace

SplashWindow::SplashWindow(SettingsStore& settings, Prompts& prompts, HINSTANCE instance)
    : settings_(settings), prompts_(prompts) {
    HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = WindowProc;
    type.hInstance = instance;
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    type.lpszClassName = kClassName;
    RegisterClassExW(&type);
    // No border, no title bar, not in the task bar.
    const WindowDesign& design = kSplashDesign;
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, com::Wide(design.caption).c_str(),
                              WS_POPUP | WS_CLIPCHILDREN, 0, 0, pixels(design.client.width),
                              pixels(design.client.height), nullptr, nullptr, instance, this);
    if (!window_) throw std::runtime_error("The splash window could not be made.");
    const ControlDesign& check = design.controls.front();
    check1_ = CreateWindowExW(
        0, L"BUTTON", com::Wide(check.caption).c_str(),
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, pixels(check.place.left),
        pixels(check.place.top), pixels(check.place.width), pixels(check.place.height), window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCheck1)), instance, nullptr);
    font_.reset(MakeFont(FontFor(check.font), dpi_));
    SendMessageW(check1_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    pen_.reset(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT)));
    for (std::size_t i = 0; i < kSplashLines.size(); ++i) {
        lines_[i][0] = At(kSplashLines[i].x1, kSplashLines[i].y1, dpi_);
        lines_[i][1] = At(kSplashLines[i].x2, kSplashLines[i].y2, dpi_);
    }
    const TwipRect& image = kSplashImage;
    image1_ = {pixels(image.left), pixels(image.top), pixels(image.left + image.width),
               pixels(image.top + image.height)};
}

SplashWindow::~SplashWindow() {
    if (window_) DestroyWindow(window_);
}

void SplashWindow::setCaption(const std::string& caption) {
    SetWindowTextW(window_, com::Wide(caption).c_str());
}

void SplashWindow::placeImage(int left, int top) {
    OffsetRect(&image1_, pixels(left) - image1_.left, pixels(top) - image1_.top);
}

TwipSize SplashWindow::loadPicture(const std::string& path) {
    com::ComPtr<IPicture> picture;
    std::wstring wide = com::Wide(path);
    const HRESULT result =
        OleLoadPicturePath(wide.data(), nullptr, 0, 0, IID_IPicture, picture.out());
    if (FAILED(result)) {
        throw std::runtime_error("The splash picture \"" + path +
                                 "\" cannot be loaded: " + com::DescribeResult(result));
    }
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture->get_Width(&width);
    picture->get_Height(&height);
    // HIMETRIC is hundredths of a millimetre.
    pictureSize_ = {MulDiv(width, dpi_, 2540), MulDiv(height, dpi_, 2540)};
    if (pictureSize_.cx > kLargestPictureSide || pictureSize_.cy > kLargestPictureSide) {
        throw std::runtime_error("The splash picture \"" + path + "\" is too large to show.");
    }
    picture_ = std::move(picture);
    image1_.right = image1_.left + pictureSize_.cx;
    image1_.bottom = image1_.top + pictureSize_.cy;
    InvalidateRect(window_, nullptr, TRUE);
    return {twips(pictureSize_.cx), twips(pictureSize_.cy)};
}

void SplashWindow::setImageHeight(int height) {
    image1_.bottom = image1_.top + pixels(height);
}

void SplashWindow::setSize(int width, int height) {
    SetWindowPos(window_, nullptr, 0, 0, pixels(width), pixels(height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int SplashWindow::checkBoxHeight() const {
    RECT box{};
    GetWindowRect(check1_, &box);
    return twips(box.bottom - box.top);
}

void SplashWindow::setCheckBoxTop(int top) {
    RECT box{};
    GetWindowRect(check1_, &box);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&box), 2);
    SetWindowPos(check1_, nullptr, box.left, pixels(top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SplashWindow::placeLine(int line, int x1, int y1, int x2, int y2) {
    lines_[line - 1][0] = {pixels(x1), pixels(y1)};
    lines_[line - 1][1] = {pixels(x2), pixels(y2)};
    InvalidateRect(window_, nullptr, TRUE);
}

void SplashWindow::showCentred() {
    CentreOnWorkArea(window_, HWND_TOP, 0);
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    SetFocus(check1_);
}

bool SplashWindow::hidesFile(const std::string& path) const {
    const DWORD attributes = GetFileAttributesW(com::Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

// The lines first, then the picture over them; the check box, a window of its own, lies above.
void SplashWindow::paint(HDC dc) {
    HGDIOBJ old = SelectObject(dc, pen_.get());
    for (const auto& line : lines_) {
        MoveToEx(dc, line[0].x, line[0].y, nullptr);
        LineTo(dc, line[1].x, line[1].y);
    }
    SelectObject(dc, old);
    if (picture_) {
        OLE_XSIZE_HIMETRIC width = 0;
        OLE_YSIZE_HIMETRIC height = 0;
        picture_->get_Width(&width);
        picture_->get_Height(&height);
        // Drawn at its own size from the picture box's corner; HIMETRIC runs bottom-up.
        picture_->Render(dc, image1_.left, image1_.top, pictureSize_.cx, pictureSize_.cy, 0, height,
                         width, -height, nullptr);
    }
}

LRESULT CALLBACK SplashWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<SplashWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self) {
        switch (message) {
            case WM_PAINT: {
                PAINTSTRUCT paint;
                HDC dc = BeginPaint(hwnd, &paint);
                self->paint(dc);
                EndPaint(hwnd, &paint);
                return 0;
            }
            case WM_CTLCOLORSTATIC:
                SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
                SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNTEXT));
                return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
            case WM_COMMAND:
                if (LOWORD(wParam) == kCheck1 && HIWORD(wParam) == BN_CLICKED) {
                    const bool ticked =
                        SendMessageW(self->check1_, BM_GETCHECK, 0, 0) == BST_CHECKED;
                    Check1_Click(self->settings_, self->prompts_, ticked);
                }
                return 0;
            default:
                break;
        }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
