#include "redline/write/ParagraphIds.h"
#include "redline/io/Names.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_set>

#include "redline/io/Elements.h"
#include "redline/io/Xml.h"

namespace redline {

namespace {

// Whether accepting every change takes the paragraph's mark, or the row, away.
bool Removed(const pugi::xml_node& element) {
    const pugi::xml_node properties =
        Named(element, w::tr) ? element.child(w::trPr) : element.child(w::pPr).child(w::rPr);
    for (const pugi::xml_node& mark : properties.children()) {
        if (KindOf(mark) == ElementKind::Removing) return true;
    }
    return false;
}

// Whether the element is one that Word gives an id: a paragraph or a table row.
bool TakesAnId(const char* name) {
    return name[0] == 'w' && name[1] == ':' &&
           ((name[2] == 'p' && !name[3]) || (name[2] == 't' && name[3] == 'r' && !name[4]));
}

void Collect(const pugi::xml_node& node, std::vector<pugi::xml_attribute>& kept,
             std::vector<pugi::xml_attribute>& removed) {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        if (TakesAnId(child.name())) {
            if (const pugi::xml_attribute id = child.attribute("w14:paraId")) {
                (Removed(child) ? removed : kept).push_back(id);
            }
        }
        Collect(child, kept, removed);
    }
}

}  // namespace

void MakeParagraphIdsUnique(const std::vector<pugi::xml_node>& roots) {
    std::vector<pugi::xml_attribute> kept, removed;
    for (const pugi::xml_node& root : roots) Collect(root, kept, removed);
    if (kept.empty() && removed.empty()) return;
    std::unordered_set<std::uint32_t> used;
    std::vector<pugi::xml_attribute> renumbered;
    // What accepting keeps first, so that the revised document's own paragraphs keep theirs.
    for (const auto* ids : {&kept, &removed}) {
        for (pugi::xml_attribute id : *ids) {
            const auto value = static_cast<std::uint32_t>(std::strtoul(id.value(), nullptr, 16));
            if (!used.insert(value).second) renumbered.push_back(id);
        }
    }
    // Ids below 0x80000000, as the schema wants them, not zero; counted on from a fixed place
    // so that a comparison gives the same bytes each time.
    std::uint32_t next = 0x51A00000u;
    for (pugi::xml_attribute id : renumbered) {
        while (used.count(next) || next == 0 || next >= 0x80000000u) {
            next = next >= 0x7FFFFFFFu ? 1 : next + 1;
        }
        used.insert(next);
        char text[9];
        std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(next));
        id.set_value(text);
    }
}

}  // namespace redline
