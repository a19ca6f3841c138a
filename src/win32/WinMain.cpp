// The Windows program's composition root: Word through COM, the registry for settings, native
// message boxes, dialog and shell, handed to the program's start with the Win32 main window,
// whose messages it then serves.
#include <windows.h>

#include <filesystem>

#include "app/Program.h"
#include "com/ComHost.h"
#include "com/ComText.h"
#include "win32/Form1Window.h"
#include "win32/RegistrySettingsStore.h"
#include "win32/Win32OpenFileDialog.h"
#include "win32/Win32Prompts.h"
#include "win32/Win32Shell.h"

namespace {

// The folder of the program file, below which the optional files lie.
std::string ProgramFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        name.resize(name.size() * 2);
    }
    const std::u8string folder = std::filesystem::path(name).parent_path().u8string();
    return std::string(folder.begin(), folder.end());
}

int Run(HINSTANCE instance) {
    com::ComHost host;
    Win32Prompts prompts;
    RegistrySettingsStore registry;
    Win32OpenFileDialog commonDialog;
    Win32Shell shell;
    Form1Window* form = nullptr;
    return RunProgram(
        {host, prompts, registry, commonDialog, shell, ProgramFolder()},
        [&](Platform& platform) {
            auto window = std::make_unique<Form1Window>(platform, instance);
            form = window.get();
            commonDialog.setOwner(form->handle());
            shell.setOwner(form->handle());
            return window;
        },
        [&] {
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                if (form->takeKey(message)) continue;
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            return static_cast<int>(message.wParam);
        });
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    try {
        return Run(instance);
    } catch (const std::exception& e) {
        MessageBoxW(nullptr, com::Wide(e.what()).c_str(), L"Application Error",
                    MB_OK | MB_ICONEXCLAMATION);
        return 1;
    }
}
