#include "win32/Win32EventPump.h"

#include <windows.h>

void Win32EventPump::handleEventsFor(double seconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(seconds * 1000 + 0.5);
    for (;;) {
        const DWORD now = GetTickCount();
        if (static_cast<LONG>(end - now) <= 0) return;
        // Sleeps until a message arrives or the time is up: no processor is kept busy.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}
