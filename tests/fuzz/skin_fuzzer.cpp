// libFuzzer target: any text given to the skin reader ends in a skin or a SkinError.
#include <cstddef>
#include <cstdint>
#include <string>

#include "look/Skin.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        ParseSkin(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const SkinError&) {
    }
    return 0;
}
