// A document's sections, found one way for every reader (the comparison and the marked-result
// reader): each section's properties name the headers and footers that are stories of their own.
#pragma once

#include <pugixml.hpp>

#include <vector>

namespace redline {

// Every section's properties, in order: those that end sections inside the body, then the last.
// Section properties inside a text box belong to the box's own story, not to the document.
std::vector<pugi::xml_node> Sections(const pugi::xml_node& body);

// The section's reference `element` ("w:headerReference", "w:footerReference") of `kind`
// ("default", "first", "even"), or none.
pugi::xml_node SectionReference(const pugi::xml_node& section, const char* element,
                                const char* kind);

}  // namespace redline
