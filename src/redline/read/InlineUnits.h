// Whether an inline content control is compared word by word, or as one unit whose kind shows
// what it is.
#pragma once

#include <pugixml.hpp>

namespace redline {

// Whether an inline content control is compared word by word: a plain or rich text control
// holding runs alone (in a marked result, runs under tracked changes too). Any other (a date, a
// list, a check box, a bound or building-block control, or one holding links, fields or other
// controls) is one unit, as its kind shows it.
bool ComparedInside(const pugi::xml_node& control);

}  // namespace redline
