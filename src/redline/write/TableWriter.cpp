// A table rebuilt in place, row by row and cell by cell: rows that stayed, changed, came or
// went, and the original's table, row and cell properties kept as changes where they differ.
#include <string_view>
#include <unordered_set>

#include "redline/align/Align.h"
#include "redline/io/Xml.h"
#include "redline/read/BlockText.h"
#include "redline/write/Rebuild.h"
#include "redline/write/Writer.h"

namespace redline {

namespace {

std::uint32_t ParagraphsIn(const pugi::xml_node& cell) {
    return static_cast<std::uint32_t>(cell.select_nodes(".//w:p").size());
}

// Records the original's properties `name` of a cell, row or table as a change of the revised
// one's where they differ.
void KeepOriginalProperties(const pugi::xml_node& a, pugi::xml_node b, const char* name,
                            const char* changeName, WriteContext& context) {
    const pugi::xml_node propertiesA = a.child(name);
    if (CanonicalProperties(propertiesA) == CanonicalProperties(b.child(name))) return;
    pugi::xml_node change = PropertiesOf(b, name).append_child(changeName);
    context.stamp.on(change);
    pugi::xml_node old = change.append_child(name);
    for (const pugi::xml_node& child : propertiesA.children()) {
        if (!std::string_view(child.name()).ends_with("PrChange")) old.append_copy(child);
    }
}

// Records the original's grid as a change of the revised one where the columns differ.
void KeepOriginalGrid(const pugi::xml_node& a, const pugi::xml_node& b, WriteContext& context) {
    const pugi::xml_node gridA = a.child("w:tblGrid");
    pugi::xml_node gridB = b.child("w:tblGrid");
    auto columns = [](const pugi::xml_node& grid) {
        std::string widths;
        for (pugi::xml_node column : grid.children("w:gridCol")) {
            widths += std::string(column.attribute("w:w").value()) + ",";
        }
        return widths;
    };
    if (!gridA || !gridB || columns(gridA) == columns(gridB)) return;
    pugi::xml_node change = gridB.append_child("w:tblGridChange");
    change.append_attribute("w:id") = context.stamp.nextId();
    pugi::xml_node old = change.append_child("w:tblGrid");
    for (pugi::xml_node column : gridA.children("w:gridCol")) old.append_copy(column);
}

// The steps that turn the rows of `a` into those of `b`; rows never move.
std::vector<Step> AlignRows(const std::vector<Row>& rowsA, const std::vector<Row>& rowsB,
                            bool caseless) {
    auto items = [](const std::vector<Row>& rows) {
        std::vector<Item> items;
        for (const Row& row : rows) {
            items.push_back({row.text, row.look, row.shape, 1});
        }
        return items;
    };
    Bags bagsA(rowsA.size(), caseless), bagsB(rowsB.size(), caseless);
    AlignRules rules;
    rules.pairing = 0.25;
    rules.similarity = [&](int i, int j) {
        return Shared(bagsA.of(i, rowsA[i].node), bagsB.of(j, rowsB[j].node));
    };
    int unusedMoves = 0;
    return Align(items(rowsA), items(rowsB), rules, unusedMoves);
}

// A row of the original that became `rowB`: its properties and each cell's compared.
void CompareRows(const Row& rowA, const Row& rowB, WriteContext& context, Part cells) {
    KeepOriginalProperties(rowA.tr, rowB.tr, "w:trPr", "w:trPrChange", context);
    // Each cell's paragraphs are numbered on from those of the cells before it.
    std::uint32_t firstA = rowA.paragraph, firstB = rowB.paragraph;
    for (std::size_t c = 0; c < rowA.cells.size() && c < rowB.cells.size(); ++c) {
        KeepOriginalProperties(rowA.cells[c], rowB.cells[c], "w:tcPr", "w:tcPrChange", context);
        const Story cellA = context.original.read(rowA.cells[c], firstA);
        const Story cellB = context.revised.read(rowB.cells[c], firstB);
        firstA += ParagraphsIn(rowA.cells[c]);
        firstB += ParagraphsIn(rowB.cells[c]);
        CompareStory(cellA, cellB, context, cells, false);
    }
}

}  // namespace

void WriteTable(const Block& a, const Block& b, WriteContext& context, Part part) {
    if (context.options.skip.tables) {
        WriteTableAsParagraphs(a, b, context, part);
        return;
    }
    // Changes in a table's cells are the table's, in the body; elsewhere they are the part's.
    const Part cells = part == Part::Body ? Part::Table : part;
    const std::vector<Row> rowsA = context.original.rows(a), rowsB = context.revised.rows(b);
    const std::vector<Step> steps = AlignRows(rowsA, rowsB, context.options.ignoreCase);
    Rebuild rebuild(b.node);
    // The table's own properties and grid, gathered first: keeping one moves it to the end.
    std::unordered_set<const void*> rowUnits;
    for (const Row& row : rowsB) rowUnits.insert(row.node.internal_object());
    std::vector<pugi::xml_node> own;
    for (pugi::xml_node child : b.node.children()) {
        if (!rowUnits.count(child.internal_object())) own.push_back(child);
    }
    for (pugi::xml_node child : own) rebuild.keep(child);
    KeepOriginalProperties(a.node, b.node, "w:tblPr", "w:tblPrChange", context);
    KeepOriginalGrid(a.node, b.node, context);
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
            context.record({ChangeKind::Deletion, cells, ReportText(rowsA[step.a].node),
                            rowsA[step.a].paragraph, 0},
                           since);
        } else {
            const int since = context.stamp.peek();
            MarkRow(rebuild.keep(rowsB[step.b].node), Mark::Insert, context.stamp);
            context.inserted(rowsB[step.b].node);
            context.record({ChangeKind::Insertion, cells, ReportText(rowsB[step.b].node), 0,
                            rowsB[step.b].paragraph},
                           since);
        }
    }
    rebuild.finish();
}

}  // namespace redline
