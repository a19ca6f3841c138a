#include "redline/write/KeptTables.h"

#include <utility>
#include <vector>

#include "redline/io/Names.h"
#include "redline/io/Xml.h"

namespace redline {

namespace {

// The properties element and its record's name of each owner a table has.
struct Record {
    const char* properties;
    const char* change;
};
constexpr Record kRow{w::trPr, w::trPrChange}, kCell{w::tcPr, w::tcPrChange},
    kTable{w::tblPr, w::tblPrChange}, kGrid{w::tblGrid, w::tblGridChange};

bool FirstRow(const pugi::xml_node& row) {
    return row.parent().child(w::tr) == row;
}

std::vector<pugi::xml_node> Cells(const pugi::xml_node& row) {
    std::vector<pugi::xml_node> cells;
    for (pugi::xml_node cell : row.children(w::tc)) cells.push_back(cell);
    return cells;
}

// The owners of `row` that may hold records, paired with the result's: the row, its cells, and
// for a first row the table twice (its properties and its grid).
std::vector<std::pair<pugi::xml_node, Record>> Owners(const pugi::xml_node& row) {
    std::vector<std::pair<pugi::xml_node, Record>> owners{{row, kRow}};
    for (const pugi::xml_node& cell : Cells(row)) owners.push_back({cell, kCell});
    if (FirstRow(row)) {
        owners.push_back({row.parent(), kTable});
        owners.push_back({row.parent(), kGrid});
    }
    return owners;
}

}  // namespace

void TakeRecord(pugi::xml_node properties, const pugi::xml_node& change, Stamp& stamp,
                const std::function<void(int, const std::string&)>& replaced) {
    int id = 0;
    if (pugi::xml_node own = properties.child(change.name())) {
        id = own.attribute("w:id").as_int();
        replaced(id, change.attribute("w:author").value());
        properties.remove_child(own);
    }
    properties.append_copy(change).attribute("w:id").set_value(id ? id : stamp.nextId());
}

bool HoldsTableRecords(const pugi::xml_node& revisedRow) {
    for (const auto& [owner, record] : Owners(revisedRow)) {
        if (owner.child(record.properties).child(record.change)) return true;
    }
    return false;
}

void CopyTableRecords(pugi::xml_node resultRow, const pugi::xml_node& revisedRow, Stamp& stamp,
                      const std::function<void(int, const std::string&)>& replaced) {
    auto owners = Owners(revisedRow), into = Owners(resultRow);
    if (owners.size() != into.size()) {
        owners.resize(1);  // cells that differ in number: the row's own record alone
        into.resize(1);
    }
    for (std::size_t i = 0; i < owners.size(); ++i) {
        const Record record = owners[i].second;
        const pugi::xml_node change = owners[i].first.child(record.properties).child(record.change);
        if (!change) continue;
        pugi::xml_node properties = into[i].first.child(record.properties);
        if (!properties) properties = PropertiesOf(into[i].first, record.properties);
        TakeRecord(properties, change, stamp, replaced);
    }
}

}  // namespace redline
