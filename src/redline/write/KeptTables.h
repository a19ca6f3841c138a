// A revised table's records of changed properties (of the table, its grid, its rows and cells)
// laid over the result's table that reads alike.
#pragma once

#include <pugixml.hpp>

#include <functional>
#include <string>

#include "redline/write/Marks.h"

namespace redline {

// Puts the revised record of changed properties `change` into `properties` in place of the
// result's own record, whose id it takes over (else a fresh one); `replaced` hears the id of the
// record replaced, and the author of the one that took its place.
void TakeRecord(pugi::xml_node properties, const pugi::xml_node& change, Stamp& stamp,
                const std::function<void(int, const std::string&)>& replaced);

// Whether the revised row, its cells, or (its table's first row) its table and grid hold a
// record of changed properties.
bool HoldsTableRecords(const pugi::xml_node& revisedRow);

// Gives the result's row, its cells (where both rows have as many) and, for the first row, its
// table and grid the revised ones' records in place of their own; `replaced` hears the id of
// each record of the result's that was replaced, and the author of the one that took its place.
void CopyTableRecords(pugi::xml_node resultRow, const pugi::xml_node& revisedRow, Stamp& stamp,
                      const std::function<void(int, const std::string&)>& replaced);

}  // namespace redline
