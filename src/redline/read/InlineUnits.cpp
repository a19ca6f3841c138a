#include "redline/read/InlineUnits.h"

#include "redline/io/Elements.h"
#include "redline/io/Xml.h"

namespace redline {

namespace {

// The properties of controls whose content is a choice, bound data or a building block.
const char* const kWholeControls[] = {
    "w:date",        "w:dropDownList", "w:comboBox",          "w:docPartObj", "w:docPartList",
    "w:picture",     "w:citation",     "w:bibliography",      "w:equation",   "w:group",
    "w:dataBinding", "w14:checkbox",   "w15:repeatingSection"};

// Whether `holder` holds runs without fields, markers and proofing marks alone, or tracked
// changes that hold such.
bool HoldsPlainRuns(const pugi::xml_node& holder) {
    for (const pugi::xml_node& child : holder.children()) {
        if (child.type() != pugi::node_element) continue;
        const ElementKind kind = KindOf(child);
        if (kind == ElementKind::Adding || kind == ElementKind::Removing) {
            if (!HoldsPlainRuns(child)) return false;
            continue;
        }
        if (!Named(child, "w:r") && !Named(child, "w:proofErr") && kind != ElementKind::Marker) {
            return false;
        }
        for (const pugi::xml_node& inner : child.children()) {
            const ElementKind part = KindOf(inner);
            if (part == ElementKind::FieldCharacter || Named(inner, "w:instrText")) return false;
        }
    }
    return true;
}

}  // namespace

bool ComparedInside(const pugi::xml_node& control) {
    const pugi::xml_node content = control.child("w:sdtContent");
    if (!content) return false;
    for (const pugi::xml_node& property : control.child("w:sdtPr").children()) {
        for (const char* whole : kWholeControls) {
            if (Named(property, whole)) return false;
        }
    }
    return HoldsPlainRuns(content);
}

}  // namespace redline
