#include "redline/read/Sections.h"

namespace redline {

std::vector<pugi::xml_node> Sections(const pugi::xml_node& body) {
    std::vector<pugi::xml_node> sections;
    for (const pugi::xpath_node& found : body.select_nodes(".//w:sectPr")) {
        if (!found.node().select_node("ancestor::w:txbxContent")) sections.push_back(found.node());
    }
    return sections;
}

pugi::xml_node SectionReference(const pugi::xml_node& section, const char* element,
                                const char* kind) {
    if (!section) return {};
    return section.find_child_by_attribute(element, "w:type", kind);
}

}  // namespace redline
