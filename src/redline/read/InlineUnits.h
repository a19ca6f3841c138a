// What an inline content control or simple field is to the comparison: the text it is keyed by
// when it is one unit, and whether a control is compared word by word instead.
#pragma once

#include <pugixml.hpp>

#include <string>

namespace redline {

// The text of every w:t and equation text (m:t) below `node`, in order.
std::string TextOf(const pugi::xml_node& node);

// Whether an inline content control is compared word by word: a plain or rich text control
// holding runs alone. Any other (a date, a list, a check box, a bound or building-block control,
// or one holding links, fields or other controls) is one unit, as its kind shows it.
bool ComparedInside(const pugi::xml_node& control);

}  // namespace redline
