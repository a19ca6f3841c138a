// What content shows a reader as text, decided here for every stage: the comparison's excerpts,
// the change list, the report and word diff, comments' anchors and combining all ask here, so
// that a tab, a symbol or an equation reads alike everywhere.
#pragma once

#include <pugixml.hpp>

#include <string>

namespace redline {

// What stands for a thing that shows no characters (a picture, a note's reference) in a text.
inline constexpr const char* kNothingShown = "\u25A1";

// Appends what the element shows as text: a text's characters, "\t" for a tab, "\n" for a
// break, a non-breaking hyphen, a symbol's character; and for any other element, what its
// content shows: a field's result but not its code, a shape's shown form but not the older one
// it keeps beside it, its paragraphs on lines of their own; a picture or a note's reference
// inside it as kNothingShown.
void AppendShownText(const pugi::xml_node& element, std::string& text);

std::string ShownText(const pugi::xml_node& element);

// Whether the element is one that shows text of its own (a text, a tab, a break, a symbol).
bool ShowsCharacters(const pugi::xml_node& element);

}  // namespace redline
