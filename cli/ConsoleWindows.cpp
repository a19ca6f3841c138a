#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "Console.h"

namespace {

UINT consoleCodePage = 0;

void GiveBackCodePage() {
    if (consoleCodePage) SetConsoleOutputCP(consoleCodePage);
}

// Ctrl+C or a closed console ends the program without its exit handlers: the code page is
// given back first, then Windows goes on as it would.
BOOL WINAPI GiveBackOnInterrupt(DWORD) {
    GiveBackCodePage();
    return FALSE;
}

}  // namespace

void PrepareConsole() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    DWORD mode = 0;
    if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) ||
        GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode)) {
        consoleCodePage = GetConsoleOutputCP();
        SetConsoleOutputCP(CP_UTF8);
        std::atexit(GiveBackCodePage);
        SetConsoleCtrlHandler(GiveBackOnInterrupt, TRUE);
    }
}

bool IsColourTerminal(Stream stream) {
    const HANDLE handle =
        GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (!GetConsoleMode(handle, &mode)) return false;  // a pipe or a file
    return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) ||
           SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}
