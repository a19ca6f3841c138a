// Where a window of ours first shows: centred on the screen's work area.
#pragma once

#include <windows.h>

inline void CentreOnWorkArea(HWND window, HWND after, UINT flags) {
    RECT area{}, frame{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(window, after, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | flags);
}
