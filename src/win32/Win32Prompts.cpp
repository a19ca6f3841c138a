#include "win32/Win32Prompts.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "app/errors/ReportError.h"
#include "com/ComText.h"

namespace {

constexpr int kMessageTextId = 0xFFFF;  // the message box's static text

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

// The width that the lines of `text` holding a web address take on one line each.
int AddressLinesWidth(HDC dc, const std::wstring& text) {
    int widest = 0;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (line.find(L"://") != std::wstring::npos) {
            RECT size{};
            DrawTextW(dc, line.c_str(), -1, &size,
                      DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
            widest = std::max(widest, static_cast<int>(size.right));
        }
        start = end + 1;
    }
    return widest;
}

RECT PlaceIn(HWND child, HWND parent) {
    RECT place{};
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// The message box breaks a line after a slash, so a web address near the end of a long line
// would be split in two and could no longer be read or typed off the screen. The box is made
// wide enough for each line that holds one, as far as the screen allows; the text is unchanged.
void KeepAddressesWhole(HWND box) {
    const HWND label = GetDlgItem(box, kMessageTextId);
    if (!label) return;
    const std::wstring text = TextOf(label);
    const HDC dc = GetDC(label);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT area{}, frame{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(box, &frame);
    const RECT was = PlaceIn(label, box);
    const int width = was.right - was.left, height = was.bottom - was.top;
    const int room = (area.right - area.left) * 8 / 10 - ((frame.right - frame.left) - width);
    const int wanted = std::min(AddressLinesWidth(dc, text) + 2, room);
    RECT laid{0, 0, wanted, 0};
    DrawTextW(dc, text.c_str(), -1, &laid,
              DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    if (wanted <= width) return;
    const int dx = wanted - width, dy = std::max(0, static_cast<int>(laid.bottom)) - height;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (child == label) continue;
        const RECT place = PlaceIn(child, box);
        if (place.top >= was.bottom) {  // the buttons below the text
            SetWindowPos(child, nullptr, place.left + dx / 2, place.top + dy, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    SetWindowPos(label, nullptr, 0, 0, wanted, height + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int boxWidth = frame.right - frame.left + dx, boxHeight = frame.bottom - frame.top + dy;
    SetWindowPos(box, nullptr, frame.left - dx / 2, frame.top - dy / 2, boxWidth, boxHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// Lays the message box out as above once it has laid itself out.
LRESULT CALLBACK AfterLayout(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR) {
    if (message == WM_INITDIALOG) {
        const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
        KeepAddressesWhole(box);
        return result;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(box, AfterLayout, 1);
    return DefSubclassProc(box, message, wParam, lParam);
}

// Watches this thread's windows while a message box opens, to catch the box as it is made.
thread_local HHOOK tWatch = nullptr;

LRESULT CALLBACK WatchMessageBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const auto* made = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        // The dialog class is the atom 32770; the box is the first such window made.
        if (made->lpszClass == MAKEINTATOM(32770) ||
            (!IS_INTRESOURCE(made->lpszClass) && std::wstring(made->lpszClass) == L"#32770")) {
            SetWindowSubclass(reinterpret_cast<HWND>(wParam), AfterLayout, 1, 0);
            UnhookWindowsHookEx(std::exchange(tWatch, nullptr));
            return 0;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Owned by the program's active window, when it has one showing.
int Show(const std::string& title, const std::string& text, UINT flags) {
    tWatch = SetWindowsHookExW(WH_CBT, WatchMessageBox, nullptr, GetCurrentThreadId());
    const int answer = MessageBoxW(GetActiveWindow(), com::Wide(text).c_str(),
                                   com::Wide(title).c_str(), flags | MB_SETFOREGROUND);
    if (tWatch) UnhookWindowsHookEx(std::exchange(tWatch, nullptr));
    return answer;
}

}  // namespace

void Win32Prompts::inform(const std::string& text) {
    Show(applicationTitle(), text, MB_OK);
}

Prompts::Answer Win32Prompts::ask(const std::string& text) {
    return Show(applicationTitle(), text, MB_YESNO | MB_DEFBUTTON1) == IDYES ? Answer::Yes
                                                                             : Answer::No;
}

void Win32Prompts::reportError(const std::string& text) {
    Show(kErrorReportTitle, text, MB_OK | MB_ICONEXCLAMATION);
}
