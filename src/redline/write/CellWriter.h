// The cells of two rows that differ in number, aligned by what they hold.
#pragma once

#include <functional>

#include "redline/read/Story.h"
#include "redline/write/Writer.h"

namespace redline {

// Whether a row's cells can be inserted or deleted one by one: no content control stands in or
// around it, as no tracked change adds or removes one.
bool ComparedCellByCell(const Row& row);

// Compares two cells that stayed.
using CellComparer = std::function<void(const Cell& a, const Cell& b)>;

// Compares the cells of `rowA` and `rowB`: the cells that stayed through `compareCell`, the
// others marked inserted or copied back from the original and marked deleted.
void CompareCells(const Row& rowA, const Row& rowB, WriteContext& context, Part part,
                  const CellComparer& compareCell);

}  // namespace redline
