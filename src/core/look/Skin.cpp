#include "look/Skin.h"

#include <cstdlib>
#include <sstream>

#include "app/ApplicationFolder.h"

namespace {

constexpr const char* kSignature = "quorvane-skin 1";

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<Rgb> ParseColour(const std::string& value) {
    if (value.size() != 7 || value[0] != '#') return std::nullopt;
    int digits[6];
    for (int i = 0; i < 6; ++i) {
        digits[i] = HexDigit(value[i + 1]);
        if (digits[i] < 0) return std::nullopt;
    }
    return Rgb{static_cast<std::uint8_t>(digits[0] * 16 + digits[1]),
               static_cast<std::uint8_t>(digits[2] * 16 + digits[3]),
               static_cast<std::uint8_t>(digits[4] * 16 + digits[5])};
}

std::optional<SkinFont> ParseFont(const std::string& value) {
    std::stringstream parts(value);
    std::string family, size, weight;
    if (!std::getline(parts, family, ',') || !std::getline(parts, size, ',') ||
        !std::getline(parts, weight, ',') || std::getline(parts, weight, ',')) {
        return std::nullopt;
    }
    family = Trimmed(family);
    size = Trimmed(size);
    weight = Trimmed(weight);
    char* end = nullptr;
    const double points = std::strtod(size.c_str(), &end);
    if (family.empty() || family.size() > 64 || size.empty() || *end != '\0' || !(points >= 4) ||
        !(points <= 72) || (weight != "bold" && weight != "normal")) {
        return std::nullopt;
    }
    return SkinFont{family, points, weight == "bold"};
}

SkinPart* PartNamed(Skin& skin, const std::string& name) {
    if (name == "window") return &skin.window;
    if (name == "frame") return &skin.frame;
    if (name == "button") return &skin.button;
    if (name == "box") return &skin.box;
    return nullptr;
}

// Puts one "key = value" into `part`; answers what is wrong with it, or an empty text.
std::string Assign(SkinPart& part, const std::string& section, const std::string& key,
                   const std::string& value) {
    if (key == "font") {
        const auto font = ParseFont(value);
        if (!font) return "\"" + value + "\" is not a font such as \"Arial, 9, bold\".";
        part.font = font;
        return {};
    }
    std::optional<Rgb>* colour = nullptr;
    if (key == "background") colour = &part.background;
    if (key == "text") colour = &part.text;
    const bool edged = section == "button" || section == "box";
    if (key == "hover" && edged) colour = &part.hover;
    if (key == "border" && edged) colour = &part.border;
    if (!colour) return "[" + section + "] has no setting \"" + key + "\".";
    *colour = ParseColour(value);
    if (!*colour) return "\"" + value + "\" is not a colour such as #2F5D8A.";
    return {};
}

}  // namespace

Skin ParseSkin(const std::string& text) {
    if (text.size() > kLargestSkinFile) throw SkinError("it is too large to be a skin.");
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || Trimmed(line) != kSignature) {
        throw SkinError(std::string("it does not start with \"") + kSignature + "\".");
    }
    Skin skin;
    SkinPart* part = nullptr;
    std::string section;
    for (int number = 2; std::getline(lines, line); ++number) {
        const std::string where = "line " + std::to_string(number) + ": ";
        line = Trimmed(line);
        if (line.empty() || line[0] == '#') continue;
        if (line.front() == '[') {
            section = line.back() == ']' ? line.substr(1, line.size() - 2) : line;
            part = PartNamed(skin, section);
            if (!part) throw SkinError(where + "there is no part \"" + line + "\" to skin.");
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) throw SkinError(where + "\"key = value\" expected.");
        if (!part) throw SkinError(where + "a setting before the first [part].");
        const std::string problem = Assign(*part, section, Trimmed(line.substr(0, equals)),
                                           Trimmed(line.substr(equals + 1)));
        if (!problem.empty()) throw SkinError(where + problem);
    }
    return skin;
}

Skin LoadSkinFile(const std::string& path) {
    const std::string prefix = "The skin file \"" + path + "\" cannot be used: ";
    std::string text;
    if (!ReadSmallFile(path, kLargestSkinFile, text)) {
        throw SkinError(prefix + "it cannot be read, or is too large to be a skin.");
    }
    try {
        return ParseSkin(text);
    } catch (const SkinError& e) {
        throw SkinError(prefix + e.what());
    }
}
