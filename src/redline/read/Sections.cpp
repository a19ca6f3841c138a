#include "redline/read/Sections.h"

#include "redline/io/Xml.h"

namespace redline {

std::vector<pugi::xml_node> Sections(const pugi::xml_node& body) {
    std::vector<pugi::xml_node> sections;
    for (const pugi::xpath_node& found : body.select_nodes(".//w:sectPr")) {
        // A section's properties before a tracked change of them are no section of their own.
        if (Named(found.node().parent(), "w:sectPrChange")) continue;
        if (!found.node().select_node("ancestor::w:txbxContent")) sections.push_back(found.node());
    }
    return sections;
}

std::vector<std::pair<pugi::xml_node, pugi::xml_node>> PairSections(
    const std::vector<pugi::xml_node>& a, const std::vector<pugi::xml_node>& b) {
    std::vector<std::pair<pugi::xml_node, pugi::xml_node>> pairs;
    if (a.empty() || b.empty()) {
        for (const pugi::xml_node& section : a) pairs.emplace_back(section, pugi::xml_node());
        for (const pugi::xml_node& section : b) pairs.emplace_back(pugi::xml_node(), section);
        return pairs;
    }
    const std::size_t both = std::min(a.size(), b.size()) - 1;
    for (std::size_t s = 0; s < both; ++s) pairs.emplace_back(a[s], b[s]);
    for (std::size_t s = both; s + 1 < a.size(); ++s) pairs.emplace_back(a[s], pugi::xml_node());
    for (std::size_t s = both; s + 1 < b.size(); ++s) pairs.emplace_back(pugi::xml_node(), b[s]);
    pairs.emplace_back(a.back(), b.back());
    return pairs;
}

pugi::xml_node SectionReference(const pugi::xml_node& section, const char* element,
                                const char* kind) {
    if (!section) return {};
    return section.find_child_by_attribute(element, "w:type", kind);
}

}  // namespace redline
