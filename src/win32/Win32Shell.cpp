#include "win32/Win32Shell.h"

#include <shellapi.h>

#include <stdexcept>

#include "com/ComText.h"

void Win32Shell::openWebPage(const std::string& address) {
    // The command line `explorer "<address>"`, run with the window minimised and focused.
    std::wstring command = L"explorer \"" + com::Wide(address) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        throw std::runtime_error("Explorer could not be started to open " + address + ".");
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

void Win32Shell::openFolder(const std::string& folder) {
    // The folder in double quotes, its default action, working folder C:\, shown as it was.
    // The wide form of the call, so that a folder with letters beyond the code page arrives.
    const std::wstring quoted = L"\"" + com::Wide(folder) + L"\"";
    ShellExecuteW(owner_, nullptr, quoted.c_str(), nullptr, L"C:\\", SW_SHOW);
}
