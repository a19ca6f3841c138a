// The skin: colours and fonts for the main window, its frames, buttons and path boxes, read from
// a small text file of our own that both front-ends apply. The format:
//
//   quorvane-skin 1          the first line, always
//   # a comment
//   [button]                 one of: window, frame, button, box
//   background = #2F5D8A     colours as #RRGGBB
//   text = #FFFFFF
//   hover = #3C72A8          button and box only, as is border
//   font = Arial, 11.25, bold    family, size in points, bold or normal
//
// Every key is optional; what a skin leaves out keeps the window's design.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct SkinFont {
    std::string family;
    double points = 9;
    bool bold = false;
    friend bool operator==(const SkinFont&, const SkinFont&) = default;
};

struct SkinPart {
    std::optional<Rgb> background, text, hover, border;
    std::optional<SkinFont> font;
};

struct Skin {
    SkinPart window, frame, button, box;
};

class SkinError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The largest skin file that is read; skins are a few hundred bytes.
inline constexpr std::uintmax_t kLargestSkinFile = 64 * 1024;

// Reads a skin from its text; raises SkinError naming the line that is wrong.
Skin ParseSkin(const std::string& text);

// Reads the skin file at `path`; raises SkinError when it cannot be read or is not a skin.
Skin LoadSkinFile(const std::string& path);
