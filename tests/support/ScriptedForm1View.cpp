#include "support/ScriptedForm1View.h"

#include <algorithm>
#include <stdexcept>

void ScriptedPathBox::assignText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    if (onChange) onChange();
}

void ScriptedForm1View::record(const std::string& line) {
    if (std::find(failing.begin(), failing.end(), line) != failing.end()) {
        throw std::runtime_error("The window refused: " + line);
    }
    changes.push_back(line);
}

void ScriptedForm1View::setCaption(const std::string& caption) {
    record("caption " + caption);
}

void ScriptedForm1View::showApplicationIcon() {
    record("icon");
}

void ScriptedForm1View::setCustomCursor(const std::string&, const CursorImage& image) {
    record("cursor " + std::to_string(image.width) + "x" + std::to_string(image.height) + " at " +
           std::to_string(image.hotspotX) + "," + std::to_string(image.hotspotY));
}

void ScriptedForm1View::setPointerShape(int shape) {
    pointer = shape;
    record("pointer " + std::to_string(shape));
}

void ScriptedForm1View::paintButtonFace() {
    record("button face");
}

void ScriptedForm1View::applySkin(const Skin& skin) {
    record("skin" + std::string(skin.button.background ? " with button colours" : ""));
}
