// A row whose cells differ in number from the original's: its cells aligned by what they hold,
// those that stayed compared inside, a new one marked inserted (w:cellIns) and a gone one copied
// back from the original and marked deleted (w:cellDel), each with its content marked too.
#include <functional>

#include "redline/align/Align.h"
#include "redline/io/Names.h"
#include "redline/io/Xml.h"
#include "redline/read/BlockText.h"
#include "redline/read/Canonical.h"
#include "redline/write/CellWriter.h"
#include "redline/write/PropertyChanges.h"

namespace redline {

namespace {

std::vector<Item> CellItems(const std::vector<Cell>& cells) {
    std::vector<Item> items;
    for (const Cell& cell : cells) {
        const std::uint64_t text = std::hash<std::string>{}(ReaderText(cell.story));
        items.push_back(
            {text, text ^ std::hash<std::string>{}(CanonicalXml(cell.node.child(w::tcPr), {})), 0,
             1});
    }
    return items;
}

// Marks a cell and its content inserted or deleted: `record` is the cell's mark in its
// properties, before any change record they hold.
void MarkCell(pugi::xml_node cell, Mark mark, const char* record, Stamp& stamp) {
    // The last paragraph's mark ends the cell, which its own mark takes or keeps whole.
    pugi::xml_node last = cell.last_child();
    while (last && !Named(last, w::p)) last = last.previous_sibling();
    for (pugi::xml_node block : cell.children()) {
        if (block == last) {
            MarkRuns(block, mark, stamp);
        } else if (Named(block, w::p) || Named(block, w::tbl) || Named(block, w::sdt)) {
            MarkBlock(block, mark, stamp);
        }
    }
    pugi::xml_node properties = PropertiesOf(cell, w::tcPr);
    const pugi::xml_node change = properties.child(w::tcPrChange);
    stamp.on(change ? properties.insert_child_before(record, change)
                    : properties.append_child(record));
}

}  // namespace

bool ComparedCellByCell(const Row& row) {
    if (row.node != row.tr) return false;
    for (const Cell& cell : row.cells) {
        if (cell.node.parent() != row.tr) return false;
    }
    return true;
}

void CompareCells(const Row& rowA, const Row& rowB, WriteContext& context, Part part,
                  const CellComparer& compareCell) {
    AlignRules rules;
    rules.pairing = 0.5;
    rules.pairAlone = [](int, int) { return true; };  // a cell replaced in place: changed
    Bags bagsA(rowA.cells.size(), context.rules.like.caseless),
        bagsB(rowB.cells.size(), context.rules.like.caseless);
    rules.similarity = [&](int i, int j) {
        return Shared(bagsA.of(i, rowA.cells[i].story), bagsB.of(j, rowB.cells[j].story));
    };
    int unusedMoves = 0;
    const std::vector<Step> steps =
        Align(CellItems(rowA.cells), CellItems(rowB.cells), rules, unusedMoves);
    std::size_t nextB = 0;  // the first cell of b not yet passed
    for (const Step& step : steps) {
        if (step.kind == StepKind::Keep || step.kind == StepKind::Modify) {
            compareCell(rowA.cells[step.a], rowB.cells[step.b]);
            nextB = step.b + 1;
        } else if (step.kind == StepKind::Insert) {
            const Cell& cell = rowB.cells[step.b];
            const int since = context.stamp.peek();
            MarkCell(cell.node, Mark::Insert, w::cellIns, context.stamp);
            context.inserted(cell.node);
            context.record({ChangeKind::Insertion, part, ReaderText(cell.story), 0, cell.paragraph},
                           since);
            nextB = step.b + 1;
        } else {
            const Cell& original = rowA.cells[step.a];
            pugi::xml_node row = rowB.tr;
            const pugi::xml_node cell =
                nextB < rowB.cells.size()
                    ? row.insert_copy_before(original.node, rowB.cells[nextB].node)
                    : row.append_copy(original.node);
            context.carry.carry(cell);
            const int since = context.stamp.peek();
            MarkCell(cell, Mark::Delete, w::cellDel, context.stamp);
            context.record(
                {ChangeKind::Deletion, part, ReaderText(original.story), original.paragraph, 0},
                since);
        }
    }
}

}  // namespace redline
