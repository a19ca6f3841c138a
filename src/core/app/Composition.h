// How the program's windows are described: controls with their kind, caption, parent, place in
// twips, tab position and font. Both front-ends build their windows from these descriptions, and
// their tests check them against the same.
#pragma once

#include <span>
#include <string_view>
#include <vector>
// A place in twips (1440 to the inch), within the control's parent.
struct TwipRect {
    int left = 0, top = 0, width = 0, height = 0;
};

struct FontDesign {
    const char* family;
    double points;
    bool bold;
};

enum class ControlKind { Button, Frame, PathBox, CheckBox };
enum class FontRole { Window, Button };

struct ControlDesign {
    ControlKind kind;
    const char* name;
    const char* caption;  // "" for a path box, whose text is the user's
    const char* parent;   // the window's name, or the frame that holds the control
    TwipRect place;
    int tabIndex;  // the control's position in the tab order; -1 when it takes no focus
    FontRole font;
    // What a screen reader announces; "" where the caption says it already.
    const char* accessibleName;
};

struct WindowDesign {
    const char* name;
    // The designed caption; start-up replaces it with the product name.
    const char* caption;
    TwipRect client;  // the client area, from its own corner
    // The designed icon is one square image of this side, every pixel transparent; start-up
    // replaces it with the application icon.
    int blankIconSide;
    const char* firstFocus;
    // In the designed stacking order, bottom-most first.
    std::span<const ControlDesign> controls;
};

inline constexpr FontDesign kWindowFont{"Arial", 9, true};
inline constexpr FontDesign kButtonFont{"Arial", 11.25, true};

const FontDesign& FontFor(FontRole role);

// The control of `design` named `name`; raises std::out_of_range when there is none.
const ControlDesign& ControlNamed(const WindowDesign& design, std::string_view name);

// The control's place from the window's client corner: its own place plus its parents'.
TwipRect PlaceOnWindow(const WindowDesign& design, const ControlDesign& control);

// The controls that take the focus, in tab order.
std::vector<const ControlDesign*> TabOrder(const WindowDesign& design);
