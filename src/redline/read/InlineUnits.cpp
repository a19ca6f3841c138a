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

}  // namespace

std::string TextOf(const pugi::xml_node& node) {
    std::string text;
    WalkContent(node, [&](const pugi::xml_node& element, ElementKind kind) {
        if (kind != ElementKind::Text) return true;
        text += element.text().get();
        return false;
    });
    return text;
}

bool ComparedInside(const pugi::xml_node& control) {
    const pugi::xml_node content = control.child("w:sdtContent");
    if (!content) return false;
    for (const pugi::xml_node& property : control.child("w:sdtPr").children()) {
        for (const char* whole : kWholeControls) {
            if (Named(property, whole)) return false;
        }
    }
    for (const pugi::xml_node& child : content.children()) {
        if (child.type() != pugi::node_element) continue;
        if (!Named(child, "w:r") && !Named(child, "w:proofErr") &&
            KindOf(child) != ElementKind::Marker) {
            return false;
        }
        for (const pugi::xml_node& inner : child.children()) {
            if (Named(inner, "w:fldChar") || Named(inner, "w:instrText")) return false;
        }
    }
    return true;
}

}  // namespace redline
