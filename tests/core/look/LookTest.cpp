// The skin file and the cursor file as the program reads them, good and broken.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "look/Appearance.h"
#include "support/Files.h"
#include "support/ScriptedForm1View.h"

namespace {

// A cursor file of one 2x2 image at 32 bits, with `hotspot`; every field can be spoilt after.
std::string SmallCursor(int hotspotX = 1, int hotspotY = 0) {
    auto u16 = [](int v) { return std::string{char(v & 0xFF), char(v >> 8 & 0xFF)}; };
    auto u32 = [&](long v) { return u16(int(v & 0xFFFF)) + u16(int(v >> 16 & 0xFFFF)); };
    const std::string pixels =
        u32(0xFF0000FF) + u32(0x00000000) + u32(0x80FFFFFF) + u32(0xFF00FF00);
    const std::string mask = u32(0) + u32(0);
    const std::string bitmap = u32(40) + u32(2) + u32(4) + u16(1) + u16(32) + u32(0) + u32(0) +
                               u32(0) + u32(0) + u32(0) + u32(0) + pixels + mask;
    return u16(0) + u16(2) + u16(1) + std::string{2, 2, 0, 0} + u16(hotspotX) + u16(hotspotY) +
           u32(static_cast<long>(bitmap.size())) + u32(22) + bitmap;
}

std::string Spoilt(std::string bytes, std::size_t at, const std::string& with) {
    return bytes.replace(at, with.size(), with);
}

// What `read` raises as an error of type E, or "(read)".
template <typename E, typename Read>
std::string Failure(Read read) {
    try {
        read();
    } catch (const E& e) {
        return e.what();
    }
    return "(read)";
}

std::string CursorFailure(const std::string& bytes) {
    return Failure<CursorError>([&] { ParseCursor(bytes); });
}

std::string SkinFailure(const std::string& text) {
    return Failure<SkinError>([&] { ParseSkin(text); });
}

}  // namespace

TEST(CursorFile, OurHandAndASmallCursorKeepTheirHotSpotsAndColours) {
    const CursorImage hand = ReadCursorFile(QUORVANE_SOURCE_DIR "/assets/HAND-M.CUR");
    EXPECT_EQ(hand.width, 32);
    EXPECT_EQ(hand.hotspotX, 11);
    EXPECT_EQ(hand.hotspotY, 1);
    const CursorImage small = ParseCursor(SmallCursor());
    EXPECT_EQ(small.hotspotX, 1);
    // Rows are stored bottom-up: the file's first row is the image's last.
    EXPECT_EQ(small.argb, (std::vector<std::uint32_t>{0x80FFFFFF, 0xFF00FF00, 0xFF0000FF, 0}));
    // The application icon is read the same way, at each of its sizes.
    for (int side : {32, 48, 128, 256}) {
        EXPECT_EQ(ParseCursor(ReadFile(QUORVANE_SOURCE_DIR "/assets/quorvane.ico"), side).width,
                  side);
    }
}

TEST(CursorFile, ABrokenOrLyingFileIsRefusedWithItsReason) {
    const std::string good = SmallCursor();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "cut short"},
        {good.substr(0, 30), "cut short"},
        {Spoilt(good, 2, std::string("\x07\x00", 2)), "not a cursor"},
        {Spoilt(good, 4, std::string("\x00\x00", 2)), "holds no image"},
        {Spoilt(good, 4, std::string("\xFF\xFF", 2)), "cut short"},           // 65535 entries
        {Spoilt(good, 14, std::string("\xFF\xFF\xFF\x7F", 4)), "cut short"},  // entry size
        {Spoilt(good, 26, std::string("\x00\x00\x01\x00", 4)), "sizes"},      // 65536 wide
        {Spoilt(good, 30, std::string("\xFF\xFF\xFF\x7F", 4)), "sizes"},      // endless
        {Spoilt(good, 36, std::string("\x10\x00", 2)), "colours"},
        {Spoilt(good, 38, std::string("\x01", 1)), "not a plain bitmap"},
        {SmallCursor(2, 0), "hot spot"},
        {std::string("\x89PNG", 4), "not a cursor"},
        {std::string(kLargestCursorFile + 1, '\0'), "too large"},
    };
    for (const auto& [bytes, reason] : cases) {
        EXPECT_NE(CursorFailure(bytes).find(reason), std::string::npos)
            << CursorFailure(bytes) << " (expected " << reason << ")";
    }
    TemporaryFolder folder;
    EXPECT_NE(Failure<CursorError>([&] { ReadCursorFile(folder.path()); }).find("cannot be read"),
              std::string::npos);
}

TEST(Skin, OurSkinReadsAndEveryMistakeIsNamedWithItsLine) {
    const Skin slate = LoadSkinFile(QUORVANE_SOURCE_DIR "/assets/x/o.cjs");
    EXPECT_EQ(slate.button.background, (Rgb{0x2E, 0x5A, 0x87}));
    EXPECT_EQ(slate.button.font, (SkinFont{"Arial", 11.25, true}));
    EXPECT_FALSE(slate.window.font.has_value());

    const std::string head = "quorvane-skin 1\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "does not start with"},
        {"quorvane-skin 2\n", "does not start with"},
        {head + "background = #FFFFFF\n", "line 2: a setting before the first [part]"},
        {head + "[titlebar]\n", "line 2: there is no part"},
        {head + "[window]\nbackground #FFFFFF\n", "line 3: \"key = value\" expected"},
        {head + "[window]\nhover = #FFFFFF\n", "line 3: [window] has no setting \"hover\""},
        {head + "[box]\n\n# note\ntext = white\n", "line 5: \"white\" is not a colour"},
        {head + "[button]\nbackground = #12345G\n", "is not a colour"},
        {head + "[button]\nfont = Arial, 900, bold\n", "is not a font"},
        {head + "[button]\nfont = Arial, 9\n", "is not a font"},
        {head + std::string(kLargestSkinFile, '#'), "too large"},
    };
    for (const auto& [text, reason] : cases) {
        EXPECT_NE(SkinFailure(text).find(reason), std::string::npos)
            << SkinFailure(text) << " (expected " << reason << ")";
    }
}

TEST(ApplySkin, NothingWithoutTheFileColourFirstThenTheSkinOrItsError) {
    TemporaryFolder app;
    ScriptedForm1View view;
    ApplySkin(view, app.path());
    std::filesystem::create_directories(app.path() + "/x/o.cjs");  // a folder is no skin file
    ApplySkin(view, app.path());
    EXPECT_TRUE(view.changes.empty());

    std::filesystem::remove(app.path() + "/x/o.cjs");
    WriteFile(app.path() + "/x/o.cjs", "quorvane-skin 1\n[frame]\ntext = #000000\n");
    ApplySkin(view, app.path());
    EXPECT_EQ(view.changes, (std::vector<std::string>{"button face", "skin"}));

    WriteFile(app.path() + "/x/o.cjs", "a picture, say");
    view.changes.clear();
    EXPECT_THROW(ApplySkin(view, app.path()), SkinError);
    EXPECT_EQ(view.changes, (std::vector<std::string>{"button face"}));
}
