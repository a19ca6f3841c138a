// Fonts of the program's Windows windows, made from the core's font designs at a window's DPI.
#pragma once

#include <windows.h>

#include <string>

#include "app/Composition.h"

// A font the caller owns (hold it in win32::OwnedFont).
HFONT MakeFont(const std::string& family, double points, bool bold, int dpi);

inline HFONT MakeFont(const FontDesign& font, int dpi) {
    return MakeFont(font.family, font.points, font.bold, dpi);
}
