// What the Windows end-to-end test needs to see of a running program under Wine:
//   win32_probe wait TITLE SECONDS      waits for a visible top-level window titled TITLE
//   win32_probe gone TITLE SECONDS      waits until no visible window is titled TITLE
//   win32_probe text TITLE              prints the texts of the window's static controls
//   win32_probe client TITLE            prints the window's client area, "536x192"
//   win32_probe click TITLE CAPTION     clicks the window's button captioned CAPTION
//   win32_probe close TITLE             asks the window to close
//   win32_probe version FILE            prints the file's version block, "7.0.0.0 7.00 7.00"
#include <windows.h>

#include <algorithm>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

HWND Find(const wchar_t* title) {
    HWND found = nullptr;
    struct Search {
        const wchar_t* title;
        HWND* found;
    } search{title, &found};
    EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t text[512] = {};
            GetWindowTextW(hwnd, text, 512);
            if (IsWindowVisible(hwnd) && std::wcscmp(text, s->title) == 0) {
                *s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return found;
}

void Print(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), n, nullptr, nullptr);
    std::printf("%s\n", utf8.c_str());
}

bool WaitFor(const wchar_t* title, int seconds, bool present) {
    for (int i = 0; i < seconds * 10; ++i) {
        if ((Find(title) != nullptr) == present) return true;
        Sleep(100);
    }
    return false;
}

int Version(const wchar_t* file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
    if (!size) return 1;
    std::string block(size, '\0');
    if (!GetFileVersionInfoW(file, 0, size, block.data())) return 1;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length)) return 1;
    wchar_t* fileVersion = nullptr;
    wchar_t* productVersion = nullptr;
    VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\FileVersion",
                   reinterpret_cast<void**>(&fileVersion), &length);
    VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\ProductVersion",
                   reinterpret_cast<void**>(&productVersion), &length);
    std::printf("%u.%u.%u.%u ", unsigned{HIWORD(fixed->dwFileVersionMS)},
                unsigned{LOWORD(fixed->dwFileVersionMS)}, unsigned{HIWORD(fixed->dwFileVersionLS)},
                unsigned{LOWORD(fixed->dwFileVersionLS)});
    Print(std::wstring(fileVersion ? fileVersion : L"?") + L" " +
          (productVersion ? productVersion : L"?"));
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    if (argc < 3) return 2;
    const std::wstring command = argv[1];
    if (command == L"version") return Version(argv[2]);
    if (command == L"wait" && argc == 4) return WaitFor(argv[2], _wtoi(argv[3]), true) ? 0 : 1;
    if (command == L"gone" && argc == 4) return WaitFor(argv[2], _wtoi(argv[3]), false) ? 0 : 1;
    const HWND window = Find(argv[2]);
    if (!window) return 1;
    if (command == L"client") {
        RECT client{};
        GetClientRect(window, &client);
        std::printf("%ldx%ld\n", client.right, client.bottom);
        return 0;
    }
    if (command == L"close") return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    struct Children {
        std::wstring want;
        std::wstring texts;
        HWND button = nullptr;
    } children{argc == 4 ? argv[3] : L"", L"", nullptr};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            auto* c = reinterpret_cast<Children*>(data);
            wchar_t kind[64] = {}, text[4096] = {};
            GetClassNameW(child, kind, 64);
            GetWindowTextW(child, text, 4096);
            if (_wcsicmp(kind, L"Static") == 0 && text[0]) c->texts += std::wstring(text) + L"\n";
            if (_wcsicmp(kind, L"Button") == 0 && c->want == text) c->button = child;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    if (command == L"text") {
        Print(children.texts);
        return 0;
    }
    if (command == L"text-lines") {
        // How many lines the message's text takes in its box, in the font message boxes use
        // (the box's own font handle belongs to the program's process).
        const HWND label = GetDlgItem(window, 0xFFFF);
        wchar_t text[4096] = {};
        GetWindowTextW(label, text, 4096);
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        const HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
        const HDC dc = GetDC(nullptr);
        const HGDIOBJ old = SelectObject(dc, font);
        RECT laid{}, line{};
        GetClientRect(label, &laid);
        DrawTextW(dc, L"Xy", -1, &line, DT_SINGLELINE | DT_CALCRECT);
        DrawTextW(dc, text, -1, &laid, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        DeleteObject(font);
        std::printf("%ld\n", laid.bottom / std::max<LONG>(1, line.bottom));
        return 0;
    }
    if (command == L"click" && children.button) {
        PostMessageW(children.button, BM_CLICK, 0, 0);
        return 0;
    }
    return 2;
}
