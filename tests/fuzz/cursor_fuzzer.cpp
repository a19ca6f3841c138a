// libFuzzer target: any bytes given to the cursor reader end in an image or a CursorError.
#include <cstddef>
#include <cstdint>
#include <string>

#include "look/CursorFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (int side : {16, 32, 256}) {
        try {
            const CursorImage image = ParseCursor(bytes, side);
            if (image.png.empty() &&
                image.argb.size() != static_cast<std::size_t>(image.width) * image.height) {
                __builtin_trap();
            }
        } catch (const CursorError&) {
        }
    }
    return 0;
}
