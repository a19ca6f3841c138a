// The splash window's design: a borderless white window with the "Hide this at next startup"
// check box, the picture box and four lines, at the places SplashShow starts from and replaces.
#pragma once

#include <array>

#include "app/Composition.h"

struct TwipLine {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// clang-format off
inline constexpr ControlDesign kSplashControls[] = {
    {ControlKind::CheckBox, "Check1", "Hide this at next startup", "Splash", {120, 1200, 4215, 375}, 0, FontRole::Window, ""},
};
// clang-format on

// No icon of its own (side 0): the window never shows in the task bar.
inline constexpr WindowDesign kSplashDesign{"Splash", "Form2",  {0, 0, 4560, 3030},
                                            0,        "Check1", kSplashControls};

// The picture box Image1, and Line1 to Line4.
inline constexpr TwipRect kSplashImage{120, 240, 1215, 855};
inline constexpr std::array<TwipLine, 4> kSplashLines{{
    {240, 1800, 3480, 1800},
    {240, 2040, 3480, 2040},
    {240, 2280, 3480, 2280},
    {240, 2520, 3480, 2520},
}};
