// A table compared as plain paragraphs, for comparisons that leave tables' structure alone: the
// paragraphs of every cell, in reading order, are aligned with the other table's as one text,
// and each of the revised table's cells is then rewritten with the original's paragraphs that
// fell to it. Rows, cells and their properties stay as the revised table has them, unmarked.
#include "redline/align/Align.h"
#include "redline/io/Xml.h"
#include "redline/read/BlockText.h"
#include "redline/write/Writer.h"

namespace redline {

namespace {

// The cells of a table in reading order.
std::vector<const Cell*> CellsOf(const Block& table) {
    std::vector<const Cell*> cells;
    for (const Row& row : table.rows) {
        for (const Cell& cell : row.cells) cells.push_back(&cell);
    }
    return cells;
}

struct Placed {
    const Block* block;
    std::size_t cell;
};

std::vector<Placed> Flatten(const std::vector<const Cell*>& cells) {
    std::vector<Placed> blocks;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        for (const Block& block : cells[c]->story.blocks) blocks.push_back({&block, c});
    }
    return blocks;
}

}  // namespace

void WriteTableAsParagraphs(const Block& a, const Block& b, WriteContext& context, Part part) {
    const std::vector<const Cell*> cellsA = CellsOf(a), cellsB = CellsOf(b);
    if (cellsB.empty()) return;
    const std::vector<Placed> blocksA = Flatten(cellsA), blocksB = Flatten(cellsB);
    auto items = [](const std::vector<Placed>& blocks) {
        std::vector<Item> items;
        for (const Placed& placed : blocks) {
            const Block& block = *placed.block;
            items.push_back({block.text, block.look, static_cast<int>(block.kind), block.weight});
        }
        return items;
    };
    const bool caseless = context.rules.like.caseless;
    Bags bagsA(blocksA.size(), caseless), bagsB(blocksB.size(), caseless);
    AlignRules rules;
    rules.similarity = [&](int i, int j) {
        if (blocksA[i].block->kind == BlockKind::Table) return 1.0;
        if (blocksA[i].block->kind != BlockKind::Paragraph) return -1.0;
        return Shared(bagsA.of(i, *blocksA[i].block), bagsB.of(j, *blocksB[j].block));
    };
    int unusedMoves = 0;
    const std::vector<Step> steps = Align(items(blocksA), items(blocksB), rules, unusedMoves);

    // Each of the original's blocks falls to the revised cell of the block it pairs with, or,
    // when it went, to the cell of the last revised block before it: the order stays.
    std::vector<Story> fallen(cellsB.size());
    std::size_t current = 0;
    for (const Step& step : steps) {
        if (step.b >= 0) current = blocksB[step.b].cell;
        if (step.a >= 0) fallen[current].blocks.push_back(*blocksA[step.a].block);
    }
    const Part cells = part == Part::Body ? Part::Table : part;
    for (std::size_t c = 0; c < cellsB.size(); ++c) {
        fallen[c].container = cellsB[c]->node;
        CompareStory(fallen[c], cellsB[c]->story, context, cells, false);
    }
}

}  // namespace redline
