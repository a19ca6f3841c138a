// Sections, matched by their place: the page size and orientation, margins, columns, numbering
// and the like of each, with the original's kept as a change where they differ.
#include <algorithm>

#include "redline/io/Elements.h"
#include "redline/io/Names.h"
#include "redline/io/Xml.h"
#include "redline/parts/Comparer.h"
#include "redline/read/Sections.h"
#include "redline/write/PropertyChanges.h"

namespace redline {

namespace {

// Whether the section ends with a paragraph mark that the result takes away: a section of the
// original that a deleted paragraph brings along, not one of the revised document's.
bool EndsInRemovedMark(const pugi::xml_node& section) {
    const pugi::xml_node properties = section.parent();
    if (!Named(properties, w::pPr)) return false;
    for (const pugi::xml_node& mark : properties.child(w::rPr).children()) {
        if (KindOf(mark) == ElementKind::Removing) return true;
    }
    return false;
}

}  // namespace

std::vector<std::pair<pugi::xml_node, pugi::xml_node>> Comparer::pairedSections() const {
    std::vector<pugi::xml_node> sectionsA, sectionsB;
    for (const pugi::xml_node& section : Sections(a_.main.xml.child(w::document).child(w::body))) {
        if (std::find(carriedSections_.begin(), carriedSections_.end(), section) ==
            carriedSections_.end()) {
            sectionsA.push_back(section);
        }
    }
    for (const pugi::xml_node& section : Sections(b_.main.xml.child(w::document).child(w::body))) {
        if (!EndsInRemovedMark(section)) sectionsB.push_back(section);
    }
    return PairSections(sectionsA, sectionsB);
}

void Comparer::sectionProperties() {
    for (const auto& [sectionA, sectionB] : pairedSections()) {
        if (!sectionA || !sectionB) continue;
        const int since = stamp_.peek();
        std::string differences = KeepOriginalSection(sectionA, sectionB, stamp_);
        if (differences.empty()) continue;
        changes_.push_back(
            {ChangeKind::Formatting, Part::Section, std::move(differences), 0, 0, since});
    }
}

}  // namespace redline
