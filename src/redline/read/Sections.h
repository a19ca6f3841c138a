// A document's sections, found one way for every reader (the comparison and the marked-result
// reader): each section's properties name the headers and footers that are stories of their own.
#pragma once

#include <pugixml.hpp>

#include <utility>
#include <vector>

namespace redline {

// Every section's properties, in order: those that end sections inside the body, then the last.
// Section properties inside a text box belong to the box's own story, not to the document.
std::vector<pugi::xml_node> Sections(const pugi::xml_node& body);

// The sections of the two sides paired by place: the last (the body's own) with the last, the
// others in order from the first; a section either side has beyond the other's pairs with none.
std::vector<std::pair<pugi::xml_node, pugi::xml_node>> PairSections(
    const std::vector<pugi::xml_node>& a, const std::vector<pugi::xml_node>& b);

// The section's reference `element` ("w:headerReference", "w:footerReference") of `kind`
// ("default", "first", "even"), or none.
pugi::xml_node SectionReference(const pugi::xml_node& section, const char* element,
                                const char* kind);

}  // namespace redline
