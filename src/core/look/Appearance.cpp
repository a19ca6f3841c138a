#include "look/Appearance.h"

#include <system_error>

#include "app/ApplicationFolder.h"

void ApplySkin(SkinnedWindow& window, const std::string& applicationFolder) {
    const std::string path = BelowFolder(applicationFolder, kSkinFile);
    // Looked up as a file name: a folder of that name is no skin.
    std::error_code error;
    if (!std::filesystem::is_regular_file(PathFromUtf8(path), error)) return;
    window.paintButtonFace();
    window.applySkin(LoadSkinFile(path));
}

int PointerAfterMove(int current, HoverArea area) {
    if (current == kHourglassPointer) return current;
    return area == HoverArea::Button ? kCustomPointer : kDefaultPointer;
}
