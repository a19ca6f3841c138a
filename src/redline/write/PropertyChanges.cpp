#include "redline/write/PropertyChanges.h"

#include <cstring>
#include <string_view>
#include <vector>

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

// The properties below `properties` that a change record compares and keeps.
std::vector<pugi::xml_node> Compared(const pugi::xml_node& properties) {
    std::vector<pugi::xml_node> found;
    for (pugi::xml_node child : properties.children()) {
        if (child.type() == pugi::node_element && !IsChangeRecord(child) &&
            !IsSectionReference(child)) {
            found.push_back(child);
        }
    }
    return found;
}

std::string CanonicalOf(const std::vector<pugi::xml_node>& children, std::string_view local) {
    std::string out;
    for (const pugi::xml_node& child : children) {
        if (LocalName(child.name()) == local) out += CanonicalXml(child, {});
    }
    return out;
}

// What differs between two sets of properties, as a reader names it, each name once.
std::string Differences(const pugi::xml_node& a, const pugi::xml_node& b) {
    const std::vector<pugi::xml_node> childrenA = Compared(a), childrenB = Compared(b);
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

// Appends the change record `changeName` to `properties`, holding a copy of `original`'s
// compared properties as `name`.
void AppendChange(pugi::xml_node properties, const pugi::xml_node& original, const char* name,
                  const char* changeName, Stamp& stamp) {
    pugi::xml_node change = properties.append_child(changeName);
    stamp.on(change);
    pugi::xml_node old = change.append_child(name);
    for (const pugi::xml_node& child : Compared(original)) old.append_copy(child);
}

}  // namespace

std::string KeepOriginalProperties(const pugi::xml_node& a, pugi::xml_node b, const char* name,
                                   const char* changeName, Stamp& stamp) {
    const pugi::xml_node propertiesA = a.child(name);
    std::string differences = Differences(propertiesA, b.child(name));
    if (differences.empty()) return differences;
    AppendChange(PropertiesOf(b, name), propertiesA, name, changeName, stamp);
    return differences;
}

bool KeepOriginalGrid(const pugi::xml_node& a, const pugi::xml_node& b, Stamp& stamp) {
    const pugi::xml_node gridA = a.child("w:tblGrid");
    pugi::xml_node gridB = b.child("w:tblGrid");
    auto columns = [](const pugi::xml_node& grid) {
        std::string widths;
        for (pugi::xml_node column : grid.children("w:gridCol")) {
            widths += std::string(column.attribute("w:w").value()) + ",";
        }
        return widths;
    };
    if (!gridA || !gridB || columns(gridA) == columns(gridB)) return false;
    // The grid's change record carries an id alone: no author, no date.
    pugi::xml_node change = gridB.append_child("w:tblGridChange");
    change.append_attribute("w:id") = stamp.nextId();
    pugi::xml_node old = change.append_child("w:tblGrid");
    for (pugi::xml_node column : gridA.children("w:gridCol")) old.append_copy(column);
    return true;
}

std::string KeepOriginalSection(const pugi::xml_node& a, pugi::xml_node b, Stamp& stamp) {
    if (b.child("w:sectPrChange")) return {};
    std::string differences = Differences(a, b);
    if (differences.empty()) return differences;
    AppendChange(b, a, "w:sectPr", "w:sectPrChange", stamp);
    return differences;
}

}  // namespace redline
