// A table rebuilt in place, row by row and cell by cell: rows that stayed, changed, came or
// went, and the original's table, row and cell properties kept as changes where they differ.
#include <string_view>
#include <unordered_set>

#include "redline/align/Align.h"
#include "redline/io/Names.h"
#include "redline/io/Xml.h"
#include "redline/read/BlockText.h"
#include "redline/write/CellWriter.h"
#include "redline/write/PropertyChanges.h"
#include "redline/write/Rebuild.h"
#include "redline/write/Writer.h"

namespace redline {

namespace {

// Records the original's properties `name` of a table, row or cell as a change of the revised
// one's where they differ, and tells it as a change of formatting of `what` ("row").
void CompareProperties(const pugi::xml_node& a, const pugi::xml_node& b, const char* name,
                       const char* changeName, const char* what, std::uint32_t aNumber,
                       std::uint32_t bNumber, WriteContext& context, Part part) {
    if (!context.rules.formatting) return;
    const int since = context.stamp.peek();
    const std::string differences = KeepOriginalProperties(a, b, name, changeName, context.stamp);
    if (differences.empty()) return;
    context.record(
        {ChangeKind::Formatting, part, std::string(what) + " " + differences, aNumber, bNumber},
        since);
}

// The steps that turn the rows of `a` into those of `b`; rows never move.
std::vector<Step> AlignRows(const std::vector<Row>& rowsA, const std::vector<Row>& rowsB,
                            bool caseless) {
    // Rows whose cells can come and go pair whatever their number of cells; others only with
    // rows of their shape.
    auto items = [](const std::vector<Row>& rows) {
        std::vector<Item> items;
        for (const Row& row : rows) {
            items.push_back({row.text, row.look, ComparedCellByCell(row) ? -1 : row.shape, 1});
        }
        return items;
    };
    Bags bagsA(rowsA.size(), caseless), bagsB(rowsB.size(), caseless);
    AlignRules rules;
    rules.pairing = 0.25;
    rules.pairAlone = [](int, int) { return true; };  // a row replaced in place: its cells changed
    rules.similarity = [&](int i, int j) {
        return Shared(bagsA.of(i, rowsA[i]), bagsB.of(j, rowsB[j]));
    };
    int unusedMoves = 0;
    return Align(items(rowsA), items(rowsB), rules, unusedMoves);
}

// A row of the original that became `rowB`: its properties and each cell's compared.
void CompareRows(const Row& rowA, const Row& rowB, WriteContext& context, Part cells) {
    CompareProperties(rowA.tr, rowB.tr, w::trPr, w::trPrChange, "row", rowA.paragraph,
                      rowB.paragraph, context, cells);
    auto compareCell = [&](const Cell& a, const Cell& b) {
        CompareProperties(a.node, b.node, w::tcPr, w::tcPrChange, "cell", a.paragraph, b.paragraph,
                          context, cells);
        CompareStory(a.story, b.story, context, cells, false);
    };
    if (rowA.cells.size() != rowB.cells.size()) {
        CompareCells(rowA, rowB, context, cells, compareCell);
        return;
    }
    for (std::size_t c = 0; c < rowA.cells.size(); ++c) compareCell(rowA.cells[c], rowB.cells[c]);
}

}  // namespace

void WriteTable(const Block& a, const Block& b, WriteContext& context, Part part) {
    if (context.rules.tablesAsParagraphs) {
        WriteTableAsParagraphs(a, b, context, part);
        return;
    }
    // Changes in a table's cells are the table's, in the body; elsewhere they are the part's.
    const Part cells = part == Part::Body ? Part::Table : part;
    const std::vector<Row>&rowsA = a.rows, &rowsB = b.rows;
    const std::vector<Step> steps = AlignRows(rowsA, rowsB, context.rules.like.caseless);
    Rebuild rebuild(b.node);
    // The table's own properties and grid, gathered first: keeping one moves it to the end.
    std::unordered_set<const void*> rowUnits;
    for (const Row& row : rowsB) rowUnits.insert(row.node.internal_object());
    std::vector<pugi::xml_node> own;
    for (pugi::xml_node child : b.node.children()) {
        if (!rowUnits.count(child.internal_object())) own.push_back(child);
    }
    for (pugi::xml_node child : own) rebuild.keep(child);
    CompareProperties(a.node, b.node, w::tblPr, w::tblPrChange, "table", a.paragraph, b.paragraph,
                      context, cells);
    if (context.rules.formatting) {
        const int since = context.stamp.peek();
        if (KeepOriginalGrid(a.node, b.node, context.stamp)) {
            context.record(
                {ChangeKind::Formatting, cells, "table columns", a.paragraph, b.paragraph}, since);
        }
    }
    for (const Step& step : steps) {
        if (step.kind == StepKind::Keep) {
            rebuild.keep(rowsB[step.b].node);
            context.kept(rowsA[step.a].node, rowsB[step.b].node);
        } else if (step.kind == StepKind::Modify) {
            rebuild.keep(rowsB[step.b].node);
            CompareRows(rowsA[step.a], rowsB[step.b], context, cells);
        } else if (step.kind == StepKind::Delete || step.kind == StepKind::MoveFrom) {
            pugi::xml_node copied = rebuild.copy(rowsA[step.a].node, context.carry);
            const int since = context.stamp.peek();
            MarkRow(copied, Mark::Delete, context.stamp);
            context.record({ChangeKind::Deletion, cells, ReaderText(rowsA[step.a]),
                            rowsA[step.a].paragraph, 0},
                           since);
        } else {
            const int since = context.stamp.peek();
            MarkRow(rebuild.keep(rowsB[step.b].node), Mark::Insert, context.stamp);
            context.inserted(rowsB[step.b].node);
            context.record({ChangeKind::Insertion, cells, ReaderText(rowsB[step.b]), 0,
                            rowsB[step.b].paragraph},
                           since);
        }
    }
    rebuild.finish();
}

}  // namespace redline
