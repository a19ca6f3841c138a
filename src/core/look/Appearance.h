// The look of the main window: the skin file below the application folder, the hand cursor and
// the pointer that follows the mouse over the buttons.
#pragma once

#include <string>

#include "look/CursorFile.h"
#include "look/Skin.h"

inline constexpr const char* kSkinFile = "x/o.cjs";
inline constexpr const char* kCursorFile = "HAND-M.CUR";

// The window's pointer shapes.
inline constexpr int kDefaultPointer = 0;
inline constexpr int kHourglassPointer = 11;
inline constexpr int kCustomPointer = 99;

// A window that takes a skin.
class SkinnedWindow {
  public:
    virtual ~SkinnedWindow() = default;
    // The window and its frames take the system's button-face colour.
    virtual void paintButtonFace() = 0;
    virtual void applySkin(const Skin& skin) = 0;
};

// Without a skin file below the application folder nothing changes. With one, the window and
// its frames take the button-face colour first, then the file is read and applied; a file that
// cannot be read raises SkinError after that first change. Traps nothing.
void ApplySkin(SkinnedWindow& window, const std::string& applicationFolder);

// Where the mouse moves: onto one of the five buttons, or onto the window's own surface, a path
// box or a frame.
enum class HoverArea { Button, Surface };

// The pointer shape after the mouse moved over `area`: the hand over a button, the default
// elsewhere; an hourglass in force stays.
int PointerAfterMove(int current, HoverArea area);
