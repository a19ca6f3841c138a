#include "redline/write/PropertyChanges.h"
#include "redline/io/Names.h"

#include <string_view>
#include <vector>

#include "redline/io/Elements.h"
#include "redline/io/Xml.h"
#include "redline/read/Canonical.h"
#include "redline/read/PropertyNames.h"

namespace redline {

namespace {

// Appends the change record `changeName` to `properties`, holding a copy of `original`'s
// compared properties as `name`.
void AppendChange(pugi::xml_node properties, const pugi::xml_node& original, const char* name,
                  const char* changeName, Stamp& stamp) {
    pugi::xml_node change = properties.append_child(changeName);
    stamp.on(change);
    pugi::xml_node old = change.append_child(name);
    for (const pugi::xml_node& child : ComparedProperties(original)) old.append_copy(child);
}

}  // namespace

std::string KeepOriginalProperties(const pugi::xml_node& a, pugi::xml_node b, const char* name,
                                   const char* changeName, Stamp& stamp) {
    const pugi::xml_node propertiesA = a.child(name);
    std::string differences = NamedDifferences(propertiesA, b.child(name));
    if (differences.empty()) return differences;
    AppendChange(PropertiesOf(b, name), propertiesA, name, changeName, stamp);
    return differences;
}

bool KeepOriginalGrid(const pugi::xml_node& a, const pugi::xml_node& b, Stamp& stamp) {
    const pugi::xml_node gridA = a.child(w::tblGrid);
    pugi::xml_node gridB = b.child(w::tblGrid);
    auto columns = [](const pugi::xml_node& grid) {
        std::string widths;
        for (pugi::xml_node column : grid.children(w::gridCol)) {
            widths += std::string(column.attribute("w:w").value()) + ",";
        }
        return widths;
    };
    if (!gridA || !gridB || columns(gridA) == columns(gridB)) return false;
    // The grid's change record carries an id alone: no author, no date.
    pugi::xml_node change = gridB.append_child(w::tblGridChange);
    change.append_attribute("w:id") = stamp.nextId();
    pugi::xml_node old = change.append_child(w::tblGrid);
    for (pugi::xml_node column : gridA.children(w::gridCol)) old.append_copy(column);
    return true;
}

std::string KeepOriginalSection(const pugi::xml_node& a, pugi::xml_node b, Stamp& stamp) {
    if (b.child(w::sectPrChange)) return {};
    std::string differences = NamedDifferences(a, b);
    if (differences.empty()) return differences;
    AppendChange(b, a, w::sectPr, w::sectPrChange, stamp);
    return differences;
}

}  // namespace redline
