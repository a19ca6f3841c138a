#include "win32/Fonts.h"

#include "com/ComText.h"

HFONT MakeFont(const std::string& family, double points, bool bold, int dpi) {
    return CreateFontW(-static_cast<int>(points * dpi / 72.0 + 0.5), 0, 0, 0,
                       bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, com::Wide(family).c_str());
}
