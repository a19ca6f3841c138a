#include "redline/read/PropertyNames.h"

#include <cstring>
#include <string_view>

#include "redline/io/Elements.h"
#include "redline/io/Xml.h"
#include "redline/read/Canonical.h"

namespace redline {

namespace {

// How a reader names a property element of a table, row, cell or section.
const char* PropertyWord(std::string_view local) {
    static const std::pair<const char*, const char*> words[] = {
        {"tblStyle", "style"},
        {"tblpPr", "position"},
        {"tblOverlap", "overlap"},
        {"bidiVisual", "direction"},
        {"tblW", "width"},
        {"tcW", "width"},
        {"jc", "alignment"},
        {"tblCellSpacing", "cell spacing"},
        {"tblInd", "indent"},
        {"tblBorders", "borders"},
        {"tcBorders", "borders"},
        {"pgBorders", "page borders"},
        {"shd", "shading"},
        {"tblLayout", "layout"},
        {"tblCellMar", "cell margins"},
        {"tcMar", "margins"},
        {"tblLook", "style options"},
        {"trHeight", "height"},
        {"cantSplit", "breaking across pages"},
        {"tblHeader", "heading row"},
        {"hidden", "hidden"},
        {"gridSpan", "merged cells"},
        {"vMerge", "merged cells"},
        {"hMerge", "merged cells"},
        {"noWrap", "wrapping"},
        {"textDirection", "text direction"},
        {"vAlign", "vertical alignment"},
        {"hideMark", "size when empty"},
        {"tcFitText", "fit text"},
        {"pgSz", "page size"},
        {"pgMar", "margins"},
        {"cols", "columns"},
        {"pgNumType", "page numbering"},
        {"titlePg", "different first page"},
        {"type", "section start"},
        {"lnNumType", "line numbers"},
        {"docGrid", "grid"},
        {"footnotePr", "footnotes"},
        {"endnotePr", "endnotes"},
        {"paperSrc", "paper source"},
        {"formProt", "protection"},
        {"bidi", "direction"},
        {"rtlGutter", "gutter"},
        {"gridBefore", "cells before"},
        {"gridAfter", "cells after"},
    };
    for (const auto& [name, word] : words) {
        if (local == name) return word;
    }
    return nullptr;
}

std::string_view LocalName(const char* name) {
    const char* colon = std::strchr(name, ':');
    return colon ? std::string_view(colon + 1) : std::string_view(name);
}

bool IsChangeRecord(const pugi::xml_node& node) {
    const std::string_view name = node.name();
    return name.ends_with("PrChange") || name == "w:cellIns" || name == "w:cellDel" ||
           name == "w:cellMerge" || KindOf(node) == ElementKind::Adding ||
           KindOf(node) == ElementKind::Removing;
}

bool IsSectionReference(const pugi::xml_node& node) {
    return Named(node, "w:headerReference") || Named(node, "w:footerReference");
}

std::string CanonicalOf(const std::vector<pugi::xml_node>& children, std::string_view local) {
    std::string out;
    for (const pugi::xml_node& child : children) {
        if (LocalName(child.name()) == local) out += CanonicalXml(child, {});
    }
    return out;
}

}  // namespace

// The properties below `properties` that a change record compares and keeps.
std::vector<pugi::xml_node> ComparedProperties(const pugi::xml_node& properties) {
    std::vector<pugi::xml_node> found;
    for (pugi::xml_node child : properties.children()) {
        if (child.type() == pugi::node_element && !IsChangeRecord(child) &&
            !IsSectionReference(child)) {
            found.push_back(child);
        }
    }
    return found;
}

// What differs between two sets of properties, as a reader names it, each name once.
std::string NamedDifferences(const pugi::xml_node& a, const pugi::xml_node& b) {
    const std::vector<pugi::xml_node> childrenA = ComparedProperties(a),
                                      childrenB = ComparedProperties(b);
    std::vector<std::string> names;
    auto consider = [&](const pugi::xml_node& child) {
        const std::string_view local = LocalName(child.name());
        if (CanonicalOf(childrenA, local) == CanonicalOf(childrenB, local)) return;
        std::string name = PropertyWord(local) ? PropertyWord(local) : std::string(local);
        if (local == "pgSz") {
            const pugi::xml_node sizeA = a.child("w:pgSz"), sizeB = b.child("w:pgSz");
            const bool wide = std::string_view(Attribute(sizeB, "w:orient")) == "landscape";
            if (Attribute(sizeA, "w:orient") != Attribute(sizeB, "w:orient"))
                name = wide ? "landscape" : "portrait";
        }
        for (const std::string& known : names) {
            if (known == name) return;
        }
        names.push_back(std::move(name));
    };
    for (const pugi::xml_node& child : childrenB) consider(child);
    for (const pugi::xml_node& child : childrenA) consider(child);
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

}  // namespace redline
