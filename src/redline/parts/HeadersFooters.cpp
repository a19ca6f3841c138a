// Headers and footers, matched by section and by kind (first page, even pages, default): each
// pair compared as a story of its own; one that exists on one side only marked as a whole.
#include <algorithm>
#include <cstring>
#include <vector>

#include "redline/io/Names.h"
#include "redline/io/Xml.h"
#include "redline/parts/Comparer.h"
#include "redline/read/Sections.h"

namespace redline {

void Comparer::carrySectionsParts() {
    // The headers and footers of sections that came along with deleted paragraphs stay as they
    // were; read here, they are written back with the result's parts, their ids made unique.
    for (const pugi::xml_node& section : carriedSections_) {
        for (const pugi::xml_node& reference : section.children()) {
            if (!Named(reference, w::headerReference) && !Named(reference, w::footerReference))
                continue;
            if (const Relationship* relationship =
                    a_.main.relationships.find(Attribute(reference, "r:id"))) {
                const std::string copy =
                    shared_.copyPart(a_.main.relationships.partOf(*relationship));
                resultPart(copy);
            }
        }
    }
}

void Comparer::headersAndFooters() {
    carrySectionsParts();
    std::vector<std::string> done;
    // The original's sections that the revised document has no place for are folded into the
    // next one it has: their headers and footers come along there where it lacks its own.
    std::vector<pugi::xml_node> folded;
    for (auto [paired, sectionB] : pairedSections()) {
        if (!sectionB) {
            folded.push_back(paired);
            continue;
        }
        std::vector<pugi::xml_node> candidates{paired};
        candidates.insert(candidates.end(), folded.begin(), folded.end());
        folded.clear();
        for (const char* element : {w::headerReference, w::footerReference}) {
            const bool header = std::strcmp(element, w::headerReference) == 0;
            if (header ? rules_.leave.headers : rules_.leave.footers) continue;
            for (const char* kind : {"default", "first", "even"}) {
                headerOrFooter(candidates, sectionB, element, kind, done);
            }
        }
    }
}

void Comparer::headerOrFooter(const std::vector<pugi::xml_node>& candidates,
                              pugi::xml_node sectionB, const char* element, const char* kind,
                              std::vector<std::string>& done) {
    const Part part = std::strcmp(element, w::headerReference) == 0 ? Part::Header : Part::Footer;
    pugi::xml_node refA;
    for (const pugi::xml_node& candidate : candidates) {
        if (!refA) refA = SectionReference(candidate, element, kind);
    }
    const pugi::xml_node refB = SectionReference(sectionB, element, kind);
    const Relationship* relA = refA ? a_.main.relationships.find(Attribute(refA, "r:id")) : nullptr;
    const Relationship* relB = refB ? b_.main.relationships.find(Attribute(refB, "r:id")) : nullptr;
    PackagePart* partA = relA ? originalPart(a_.main.relationships.partOf(*relA)) : nullptr;
    PackagePart* partB = relB ? resultPart(b_.main.relationships.partOf(*relB)) : nullptr;
    if (partB && std::find(done.begin(), done.end(), partB->name) != done.end()) return;
    if (partB) done.push_back(partB->name);
    if (partA && partB) {
        compareStories(*partA, *partB, partA->xml.first_child(), partB->xml.first_child(), part,
                       false);
    } else if (partB) {
        markStory(partB->xml.first_child(), Mark::Insert, part);
    } else if (partA) {
        // The original's header comes along, deleted, in the same section and kind.
        const std::string copy = shared_.copyPart(partA->name);
        const std::string id =
            b_.main.relationships.add({relA->type, TargetFrom(b_.main.name, copy)});
        pugi::xml_node reference = sectionB.prepend_child(element);
        reference.append_attribute("w:type") = kind;
        reference.append_attribute("r:id") = id.c_str();
        if (PackagePart* copied = resultPart(copy)) {
            done.push_back(copy);
            markStory(copied->xml.first_child(), Mark::Delete, part);
        }
    }
}

}  // namespace redline
