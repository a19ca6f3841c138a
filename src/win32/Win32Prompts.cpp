#include "win32/Win32Prompts.h"

#include <windows.h>

#include "app/errors/ReportError.h"
#include "com/ComText.h"

namespace {

// Owned by the program's active window, when it has one showing.
int Show(const std::string& title, const std::string& text, UINT flags) {
    return MessageBoxW(GetActiveWindow(), com::Wide(text).c_str(), com::Wide(title).c_str(),
                       flags | MB_SETFOREGROUND);
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
