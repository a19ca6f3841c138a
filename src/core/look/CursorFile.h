// The hand cursor file (a Windows cursor, .cur) read in plain C++, hot spot included, so that
// every front-end shows the same pointer and a broken file is refused before any toolkit sees it.
// Icon files (.ico) share the format and are read the same way, without a hot spot.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct CursorImage {
    int width = 0, height = 0;
    int hotspotX = 0, hotspotY = 0;
    // Width x height pixels as 0xAARRGGBB, top row first; empty when the file holds a PNG.
    std::vector<std::uint32_t> argb;
    // The image as the file stores it when that is PNG, which the front-end decodes.
    std::string png;
};

class CursorError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The largest cursor file that is read; cursors take a few kilobytes.
inline constexpr std::uintmax_t kLargestCursorFile = 1024 * 1024;
// The widest and highest image that a cursor or icon may hold.
inline constexpr int kLargestCursorSide = 256;

// The image of the file's entry closest to `preferredSide` pixels square. Raises CursorError
// for anything that is not a well-formed cursor or icon.
CursorImage ParseCursor(const std::string& bytes, int preferredSide = 32);

// Reads the cursor file at `path`; raises CursorError naming the file and what is wrong.
CursorImage ReadCursorFile(const std::string& path);
