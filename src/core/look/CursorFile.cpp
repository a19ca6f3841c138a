#include "look/CursorFile.h"

#include <cstdlib>

#include "app/ApplicationFolder.h"

namespace {

// Little-endian reads that refuse to leave the data.
class Bytes {
  public:
    explicit Bytes(const std::string& data) : data_(data) {}
    std::uint32_t u8(std::uint64_t at) const { return byte(at); }
    std::uint32_t u16(std::uint64_t at) const { return byte(at) | byte(at + 1) << 8; }
    std::uint32_t u32(std::uint64_t at) const { return u16(at) | u16(at + 2) << 16; }
    std::uint32_t u32BigEndian(std::uint64_t at) const {
        return byte(at) << 24 | byte(at + 1) << 16 | byte(at + 2) << 8 | byte(at + 3);
    }
    void require(std::uint64_t at, std::uint64_t length, const char* what) const {
        if (at > data_.size() || length > data_.size() - at) {
            throw CursorError(std::string("it is cut short in ") + what + ".");
        }
    }

  private:
    std::uint32_t byte(std::uint64_t at) const {
        require(at, 1, "its data");
        return static_cast<unsigned char>(data_[at]);
    }
    const std::string& data_;
};

struct Entry {
    int width, height, hotspotX, hotspotY;
    std::uint32_t size, offset;
};

Entry ChooseEntry(const Bytes& bytes, int preferredSide) {
    if (bytes.u16(0) != 0 || (bytes.u16(2) != 1 && bytes.u16(2) != 2)) {
        throw CursorError("it is not a cursor or icon file.");
    }
    const std::uint32_t count = bytes.u16(4);
    if (count == 0) throw CursorError("it holds no image.");
    bytes.require(6, 16ull * count, "its list of images");
    Entry best{};
    int bestDistance = -1;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t at = 6 + 16ull * i;
        Entry e{bytes.u8(at) ? static_cast<int>(bytes.u8(at)) : 256,
                bytes.u8(at + 1) ? static_cast<int>(bytes.u8(at + 1)) : 256,
                static_cast<int>(bytes.u16(at + 4)),
                static_cast<int>(bytes.u16(at + 6)),
                bytes.u32(at + 8),
                bytes.u32(at + 12)};
        const int distance = std::abs(e.width - preferredSide);
        if (bestDistance < 0 || distance < bestDistance) {
            best = e;
            bestDistance = distance;
        }
    }
    bytes.require(best.offset, best.size, "its image");
    return best;
}

// Where the parts of an entry's bitmap lie, each checked against the entry and the file.
struct BitmapLayout {
    int width = 0, height = 0;
    std::uint32_t bits = 0;
    std::uint64_t colours = 0, palette = 0, pixels = 0, stride = 0, mask = 0, maskStride = 0;
};

BitmapLayout LayOut(const Bytes& bytes, const Entry& entry) {
    const std::uint64_t at = entry.offset;
    const std::uint32_t headerSize = bytes.u32(at);
    const auto width = static_cast<std::int32_t>(bytes.u32(at + 4));
    const auto doubleHeight = static_cast<std::int32_t>(bytes.u32(at + 8));
    BitmapLayout layout;
    layout.bits = bytes.u16(at + 14);
    if (headerSize < 40 || bytes.u16(at + 12) != 1 || bytes.u32(at + 16) != 0) {
        throw CursorError("its image is not a plain bitmap.");
    }
    if (width < 1 || width > kLargestCursorSide || doubleHeight < 2 ||
        doubleHeight > 2 * kLargestCursorSide || doubleHeight % 2 != 0) {
        throw CursorError("its image has sizes that no cursor has.");
    }
    const std::uint32_t bits = layout.bits;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) {
        throw CursorError("its image has an unknown number of colours.");
    }
    layout.width = width;
    layout.height = doubleHeight / 2;
    layout.colours = bits <= 8 ? (1ull << bits) : 0;
    if (bits <= 8 && bytes.u32(at + 32) != 0) layout.colours = bytes.u32(at + 32);
    if (layout.colours > 256) throw CursorError("its image has too many colours.");
    layout.palette = at + headerSize;
    layout.stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    layout.maskStride = (static_cast<std::uint64_t>(width) + 31) / 32 * 4;
    layout.pixels = layout.palette + 4 * layout.colours;
    layout.mask = layout.pixels + layout.stride * layout.height;
    const std::uint64_t end = layout.mask + layout.maskStride * layout.height;
    if (end - at > entry.size) throw CursorError("its image is larger than its entry says.");
    bytes.require(at, end - at, "its image");
    return layout;
}

// The colour of pixel `x` in the row that starts at `row`; marks `anyAlpha` when it has one.
std::uint32_t PixelAt(const Bytes& bytes, const BitmapLayout& layout, std::uint64_t row, int x,
                      bool& anyAlpha) {
    const std::uint32_t bits = layout.bits;
    if (bits == 32) {
        const std::uint32_t argb = bytes.u32(row + 4ull * x);
        anyAlpha = anyAlpha || (argb >> 24) != 0;
        return argb;
    }
    if (bits == 24) return bytes.u16(row + 3ull * x) | bytes.u8(row + 3ull * x + 2) << 16;
    const std::uint64_t bit = static_cast<std::uint64_t>(x) * bits;
    const std::uint32_t index =
        (bytes.u8(row + bit / 8) >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
    if (index >= layout.colours) throw CursorError("its image uses a colour it lacks.");
    return bytes.u32(layout.palette + 4ull * index);
}

void ReadBitmap(const Bytes& bytes, const Entry& entry, CursorImage& image) {
    const BitmapLayout layout = LayOut(bytes, entry);
    const int width = layout.width, height = layout.height;
    image.width = width;
    image.height = height;
    image.argb.resize(static_cast<std::size_t>(width) * height);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const std::uint64_t row = layout.pixels + layout.stride * (height - 1 - y);  // bottom-up
        for (int x = 0; x < width; ++x) {
            image.argb[static_cast<std::size_t>(y) * width + x] =
                PixelAt(bytes, layout, row, x, anyAlpha);
        }
    }
    if (anyAlpha) return;
    // Without an alpha channel of its own, the image takes its transparency from the mask.
    for (int y = 0; y < height; ++y) {
        const std::uint64_t maskRow = layout.mask + layout.maskStride * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            auto& pixel = image.argb[static_cast<std::size_t>(y) * width + x];
            const bool transparent = (bytes.u8(maskRow + x / 8) >> (7 - x % 8)) & 1;
            pixel = transparent ? 0 : ((pixel & 0xFFFFFFu) | 0xFF000000u);
        }
    }
}

}  // namespace

CursorImage ParseCursor(const std::string& data, int preferredSide) {
    if (data.size() > kLargestCursorFile) throw CursorError("it is too large to be a cursor.");
    const Bytes bytes(data);
    const Entry entry = ChooseEntry(bytes, preferredSide);
    CursorImage image;
    image.hotspotX = bytes.u16(2) == 2 ? entry.hotspotX : 0;
    image.hotspotY = bytes.u16(2) == 2 ? entry.hotspotY : 0;
    if (entry.size >= 24 && data.compare(entry.offset, 8, "\x89PNG\r\n\x1a\n") == 0) {
        image.width = static_cast<int>(bytes.u32BigEndian(entry.offset + 16));
        image.height = static_cast<int>(bytes.u32BigEndian(entry.offset + 20));
        if (image.width < 1 || image.width > kLargestCursorSide || image.height < 1 ||
            image.height > kLargestCursorSide) {
            throw CursorError("its image has sizes that no cursor has.");
        }
        image.png = data.substr(entry.offset, entry.size);
    } else {
        ReadBitmap(bytes, entry, image);
    }
    if (image.hotspotX >= image.width || image.hotspotY >= image.height) {
        throw CursorError("its hot spot lies outside its image.");
    }
    return image;
}

CursorImage ReadCursorFile(const std::string& path) {
    const std::string prefix = "The cursor file \"" + path + "\" cannot be used: ";
    std::string data;
    if (!ReadSmallFile(path, kLargestCursorFile, data)) {
        throw CursorError(prefix + "it cannot be read, or is too large to be a cursor.");
    }
    try {
        return ParseCursor(data);
    } catch (const CursorError& e) {
        throw CursorError(prefix + e.what());
    }
}
