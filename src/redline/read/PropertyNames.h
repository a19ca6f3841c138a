// What differs between two sets of a table's, a row's, a cell's or a section's properties, as a
// reader names it ("height", "shading, vertical alignment", "landscape"): for the change list
// when the result is written, and for the reports when it is read back.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <vector>

namespace redline {

// The properties below `properties` that a change record compares and keeps: not change records,
// marks, or a section's choice of headers and footers.
std::vector<pugi::xml_node> ComparedProperties(const pugi::xml_node& properties);

// The names of the properties that differ, each once, joined by ", "; "" when none does.
std::string NamedDifferences(const pugi::xml_node& a, const pugi::xml_node& b);

}  // namespace redline
