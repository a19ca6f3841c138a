#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "Console.h"

namespace {

// What the console was before we changed it, given back when the program ends.
UINT consoleCodePage = 0;
struct ModeGiven {
    HANDLE handle = nullptr;
    DWORD mode = 0;
} modes[2];

void GiveBackConsole() {
    if (consoleCodePage) SetConsoleOutputCP(consoleCodePage);
    for (const ModeGiven& given : modes) {
        if (given.handle) SetConsoleMode(given.handle, given.mode);
    }
}

// Ctrl+C or a closed console ends the program without its exit handlers: the console is given
// back first, then Windows goes on as it would.
BOOL WINAPI GiveBackOnInterrupt(DWORD) {
    GiveBackConsole();
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
        std::atexit(GiveBackConsole);
        SetConsoleCtrlHandler(GiveBackOnInterrupt, TRUE);
    }
}

bool IsColourTerminal(Stream stream) {
    const bool out = stream == Stream::Out;
    const HANDLE handle = GetStdHandle(out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (!GetConsoleMode(handle, &mode)) return false;  // a pipe or a file
    if (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) return true;
    if (!SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) return false;
    modes[out ? 0 : 1] = {handle, mode};
    return true;
}
