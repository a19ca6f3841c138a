// A complex field as the reader finds it: the runs from the one that begins it to the one that
// ends it, its code and what it shows.
#pragma once

#include <pugixml.hpp>

#include <string>

namespace redline {

class ObjectKeys;

// The run that ends the field that `run` begins, among its siblings; none when `run` begins no
// field or the field does not end within the same parent.
pugi::xml_node FieldEnd(const pugi::xml_node& run);

// A field's code, its runs joined and its spaces folded: a changed code is a changed field.
std::string FieldInstruction(const pugi::xml_node& first, const pugi::xml_node& last);

// What the field shows: the text of its runs between "separate" and "end".
std::string FieldResult(const pugi::xml_node& first, const pugi::xml_node& last);

// What else the field's runs hold beside the field itself (a picture in the run that begins it,
// say), so that the field is only equal with the same company.
std::string FieldExtras(const pugi::xml_node& first, const pugi::xml_node& last,
                        ObjectKeys& objects);

}  // namespace redline
