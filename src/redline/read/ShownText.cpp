#include "redline/read/ShownText.h"

#include <cstdlib>

#include "redline/io/Elements.h"
#include "redline/io/Xml.h"
#include "redline/read/Words.h"

namespace redline {

namespace {

// A symbol's character, given in hexadecimal: a symbol font's own (private) code point stays as
// it is, for no other character is what the font shows.
void AppendSymbol(const pugi::xml_node& symbol, std::string& text) {
    const char* given = symbol.attribute("w:char").value();
    char* end = nullptr;
    const unsigned long code = std::strtoul(given, &end, 16);
    if (end == given || *end != 0 || code < 0x20 || code > 0x10FFFF ||
        (code >= 0xD800 && code < 0xE000)) {
        text += kNothingShown;
        return;
    }
    AppendUtf8(static_cast<char32_t>(code), text);
}

bool AppendCharacters(const pugi::xml_node& element, ElementKind kind, std::string& text) {
    switch (kind) {
        case ElementKind::Text:
            text += element.text().get();
            return true;
        case ElementKind::Tab:
            text += '\t';
            return true;
        case ElementKind::Break:
            text += '\n';
            return true;
        case ElementKind::NoBreakHyphen:
            text += "\u2011";
            return true;
        case ElementKind::Symbol:
            AppendSymbol(element, text);
            return true;
        default:
            return false;
    }
}

void AppendContent(const pugi::xml_node& node, std::string& text) {
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        const ElementKind kind = KindOf(child);
        if (AppendCharacters(child, kind, text)) continue;
        if (kind == ElementKind::FieldCode || kind == ElementKind::Alternative ||
            kind == ElementKind::Properties) {
            continue;
        }
        if (Named(child, "w:p") && !text.empty() && text.back() != '\n') text += '\n';
        const std::size_t before = text.size();
        AppendContent(child, text);
        // A picture or a note's reference shows no characters, but it is there.
        if (text.size() == before &&
            (kind == ElementKind::Object || kind == ElementKind::NoteReference))
            text += kNothingShown;
    }
}

}  // namespace

void AppendShownText(const pugi::xml_node& element, std::string& text) {
    if (!AppendCharacters(element, KindOf(element), text)) AppendContent(element, text);
}

std::string ShownText(const pugi::xml_node& element) {
    std::string text;
    AppendShownText(element, text);
    return text;
}

bool ShowsCharacters(const pugi::xml_node& element) {
    switch (KindOf(element)) {
        case ElementKind::Text:
        case ElementKind::Tab:
        case ElementKind::Break:
        case ElementKind::NoBreakHyphen:
        case ElementKind::Symbol:
            return true;
        default:
            return false;
    }
}

}  // namespace redline
