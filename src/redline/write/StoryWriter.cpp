// A story rebuilt in place: blocks that stayed, changed, came, went or moved, in the order the
// result shows them; tables row by row and cell by cell.
#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <string_view>
#include <unordered_set>

#include "redline/align/Align.h"
#include "redline/align/StoryAlign.h"
#include "redline/io/BothAtOnce.h"
#include "redline/io/Xml.h"
#include "redline/read/BlockText.h"
#include "redline/read/Words.h"
#include "redline/write/Writer.h"

namespace redline {

namespace {

// Which nodes of a container were placed again; what was not goes at the end. Each node placed
// goes after the container's old children, so those still ahead of the first one placed are the
// ones nobody placed.
class Rebuild {
  public:
    explicit Rebuild(pugi::xml_node container) : container_(container) {}
    pugi::xml_node keep(pugi::xml_node node) {
        container_.append_move(node);
        if (!first_) first_ = node;
        return node;
    }
    pugi::xml_node copy(pugi::xml_node node, CarryOver& carry) {
        pugi::xml_node copied = container_.append_copy(node);
        if (!first_) first_ = copied;
        carry.carry(copied);
        return copied;
    }
    // Lets go of `node`, an old child that nothing places again (a paragraph merged anew) at
    // once: a long story's old paragraphs would otherwise all stand beside their merges.
    void drop(pugi::xml_node node) { container_.remove_child(node); }
    void finish() {
        pugi::xml_node next;
        for (pugi::xml_node node = container_.first_child(); node && node != first_; node = next) {
            next = node.next_sibling();
            // A cell's own properties stay first, where they are.
            if (std::strcmp(node.name(), "w:tcPr") != 0) container_.remove_child(node);
        }
    }

  private:
    pugi::xml_node container_;
    pugi::xml_node first_;  // the first node placed
};

bool Removes(StepKind kind) {
    return kind == StepKind::Delete || kind == StepKind::MoveFrom;
}

void WriteTable(const Block& a, const Block& b, WriteContext& context, Part part);

void Kept(WriteContext& context, const pugi::xml_node& a, const pugi::xml_node& b) {
    if (context.nested) context.nested->kept(a, b);
}

void Inserted(WriteContext& context, const pugi::xml_node& b) {
    if (context.nested) context.nested->inserted(b);
}

// Lets go of the original's paragraph once its step has used it up (merged, or copied as
// deleted or moved away): a rewritten body's original would otherwise stand whole beside the
// result. Only in the body and its tables, whose paragraphs are read once; and not one that
// holds what is read after the story: a text box (compared then), or a section's properties
// (which headers and footers go by). A long one goes with its document, at once: taking a tree
// apart node by node costs as much as reading it.
void LetGo(const Block& original, Part part) {
    constexpr std::uint32_t kLong = 4096;  // characters
    if (original.kind != BlockKind::Paragraph || original.weight >= kLong ||
        (part != Part::Body && part != Part::Table) ||
        original.node.child("w:pPr").child("w:sectPr") || HoldsNestedStories(original.node)) {
        return;
    }
    pugi::xml_node(original.node).parent().remove_child(original.node);
}

// Whether the step merges two paragraphs.
bool Merges(const Step& step, const Story& b) {
    return step.kind == StepKind::Modify && b.blocks[step.b].kind == BlockKind::Paragraph;
}

// `plan`: for a step that merges two paragraphs, its merge worked out already, or none.
void WriteBlock(const Step& step, const Story& a, const Story& b, Rebuild& rebuild,
                WriteContext& context, Part part, std::vector<pugi::xml_node>& written,
                const MergePlan* plan = nullptr) {
    const Block* blockA = step.a >= 0 ? &a.blocks[step.a] : nullptr;
    const Block* blockB = step.b >= 0 ? &b.blocks[step.b] : nullptr;
    if (blockB) {
        for (pugi::xml_node marker : blockB->leading) rebuild.keep(marker);
    }
    switch (step.kind) {
        case StepKind::Keep:
            written.push_back(rebuild.keep(blockB->node));
            Kept(context, blockA->node, blockB->node);
            return;
        case StepKind::Modify:
            if (blockB->kind == BlockKind::Paragraph) {
                std::optional<MergePlan> planned;
                if (!plan) {
                    planned = PlanMerge(context.original.content(*blockA),
                                        context.revised.content(*blockB), context.revised.keys(),
                                        step.unlike);
                }
                written.push_back(rebuild.keep(MergeParagraphs(
                    plan ? *plan : *planned, context, part, blockA->paragraph, blockB->paragraph)));
                rebuild.drop(blockB->node);
                LetGo(*blockA, part);
            } else if (blockB->kind == BlockKind::Table) {
                written.push_back(rebuild.keep(blockB->node));
                WriteTable(*blockA, *blockB, context, part);
            } else if (blockB->kind == BlockKind::Control) {
                // The control stays; its content is compared as a story of its own.
                written.push_back(rebuild.keep(blockB->node));
                const Story insideA =
                    context.original.read(blockA->node.child("w:sdtContent"), blockA->paragraph);
                const Story insideB =
                    context.revised.read(blockB->node.child("w:sdtContent"), blockB->paragraph);
                CompareStory(insideA, insideB, context, part, false);
            } else {
                written.push_back(rebuild.keep(blockB->node));
                Kept(context, blockA->node, blockB->node);
            }
            return;
        case StepKind::Delete:
        case StepKind::MoveFrom: {
            pugi::xml_node copied = rebuild.copy(blockA->node, context.carry);
            const int since = context.stamp.peek();
            MarkBlock(copied, step.move ? Mark::MoveFrom : Mark::Delete, context.stamp, step.move);
            if (!step.move) {
                context.record(
                    {ChangeKind::Deletion, part, ReportText(blockA->node), blockA->paragraph, 0},
                    since);
            }
            written.push_back(copied);
            LetGo(*blockA, part);
            return;
        }
        case StepKind::Insert:
        case StepKind::MoveTo: {
            pugi::xml_node kept = rebuild.keep(blockB->node);
            const int since = context.stamp.peek();
            MarkBlock(kept, step.move ? Mark::MoveTo : Mark::Insert, context.stamp, step.move);
            Inserted(context, kept);
            if (!step.move) {
                context.record(
                    {ChangeKind::Insertion, part, ReportText(blockB->node), 0, blockB->paragraph},
                    since);
            }
            written.push_back(kept);
            return;
        }
    }
}

// The id of the first mark of a moved block: its runs are marked before its paragraph mark
// and its range.
int FirstMark(const pugi::xml_node& node) {
    int first = 0;
    for (const pugi::xpath_node& mark : node.select_nodes("descendant-or-self::w:moveTo")) {
        const int id = mark.node().attribute("w:id").as_int();
        if (!first || id < first) first = id;
    }
    return first;
}

void RecordMoves(const std::vector<Step>& steps, const Story& a, const Story& b,
                 WriteContext& context, Part part) {
    std::map<int, std::uint32_t> from;
    for (const Step& step : steps) {
        if (step.kind == StepKind::MoveFrom) from[step.move] = a.blocks[step.a].paragraph;
    }
    for (const Step& step : steps) {
        if (step.kind != StepKind::MoveTo) continue;
        context.changes.push_back({ChangeKind::Move, part, ReportText(b.blocks[step.b].node),
                                   from[step.move], b.blocks[step.b].paragraph,
                                   FirstMark(b.blocks[step.b].node)});
    }
}

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

void WriteTable(const Block& a, const Block& b, WriteContext& context, Part part) {
    if (context.options.skip.tables) {
        WriteTableAsParagraphs(a, b, context, part);
        return;
    }
    // Changes in a table's cells are the table's, in the body; elsewhere they are the part's.
    const Part cells = part == Part::Body ? Part::Table : part;
    const std::vector<Row> rowsA = context.original.rows(a), rowsB = context.revised.rows(b);
    auto items = [](const std::vector<Row>& rows) {
        std::vector<Item> items;
        for (const Row& row : rows) {
            items.push_back({row.text, row.look, row.shape, 1});
        }
        return items;
    };
    const bool caseless = context.options.ignoreCase;
    Bags bagsA(rowsA.size(), caseless), bagsB(rowsB.size(), caseless);
    AlignRules rules;
    rules.pairing = 0.25;
    rules.similarity = [&](int i, int j) {
        return Shared(bagsA.of(i, rowsA[i].node), bagsB.of(j, rowsB[j].node));
    };
    int unusedMoves = 0;
    const std::vector<Step> steps = Align(items(rowsA), items(rowsB), rules, unusedMoves);
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
            Kept(context, rowsA[step.a].node, rowsB[step.b].node);
        } else if (step.kind == StepKind::Modify) {
            rebuild.keep(rowsB[step.b].node);
            const Row &rowA = rowsA[step.a], &rowB = rowsB[step.b];
            KeepOriginalProperties(rowA.tr, rowB.tr, "w:trPr", "w:trPrChange", context);
            // Each cell's paragraphs are numbered on from those of the cells before it.
            std::uint32_t firstA = rowA.paragraph, firstB = rowB.paragraph;
            for (std::size_t c = 0; c < rowA.cells.size() && c < rowB.cells.size(); ++c) {
                KeepOriginalProperties(rowA.cells[c], rowB.cells[c], "w:tcPr", "w:tcPrChange",
                                       context);
                const Story cellA = context.original.read(rowA.cells[c], firstA);
                const Story cellB = context.revised.read(rowB.cells[c], firstB);
                firstA += ParagraphsIn(rowA.cells[c]);
                firstB += ParagraphsIn(rowB.cells[c]);
                CompareStory(cellA, cellB, context, cells, false);
            }
        } else if (Removes(step.kind)) {
            pugi::xml_node copied = rebuild.copy(rowsA[step.a].node, context.carry);
            const int since = context.stamp.peek();
            MarkRow(copied, Mark::Delete, context.stamp);
            context.record({ChangeKind::Deletion, cells, ReportText(rowsA[step.a].node),
                            rowsA[step.a].paragraph, 0},
                           since);
        } else {
            const int since = context.stamp.peek();
            MarkRow(rebuild.keep(rowsB[step.b].node), Mark::Insert, context.stamp);
            Inserted(context, rowsB[step.b].node);
            context.record({ChangeKind::Insertion, cells, ReportText(rowsB[step.b].node), 0,
                            rowsB[step.b].paragraph},
                           since);
        }
    }
    rebuild.finish();
}

// The paragraph's own properties as one side shows them (without its mark's formatting, its
// section or a change record), copied into a new element of `holder`.
pugi::xml_node PropertiesIn(const pugi::xml_node& paragraph, bool original, pugi::xml_node holder) {
    const pugi::xml_node properties = paragraph.child("w:pPr");
    const pugi::xml_node change = properties.child("w:pPrChange");
    const pugi::xml_node from = original && change ? change.child("w:pPr") : properties;
    pugi::xml_node copies = holder.append_child("w:pPr");
    for (const pugi::xml_node& child : from.children()) {
        const std::string_view name = child.name();
        if (name != "w:rPr" && name != "w:sectPr" && name != "w:pPrChange") {
            copies.append_copy(child);
        }
    }
    return copies;
}

// The end's paragraph mark stays whichever way the changes go, so the paragraph whose mark
// is marked instead joins it in one view, and must find its own properties there: the last
// paragraph shows them as its own (a deleted mark) or as its original ones (an inserted mark).
void CarryPropertiesOverTheEnd(const pugi::xml_node& settle, pugi::xml_node last, Mark mark,
                               Stamp& stamp) {
    pugi::xml_document holder;
    const bool inserted = mark == Mark::Insert;
    const pugi::xml_node now = PropertiesIn(inserted ? last : settle, false, holder);
    const pugi::xml_node before = PropertiesIn(inserted ? settle : last, true, holder);
    const pugi::xml_node current = PropertiesIn(last, false, holder);
    const std::string nowText = CanonicalProperties(now), beforeText = CanonicalProperties(before);
    if (nowText == beforeText && nowText == CanonicalProperties(current)) return;
    pugi::xml_node properties = PropertiesOf(last, "w:pPr");
    std::vector<pugi::xml_node> gone;
    for (pugi::xml_node child : properties.children()) {
        const std::string_view name = child.name();
        if (name != "w:rPr" && name != "w:sectPr") gone.push_back(child);
    }
    for (pugi::xml_node child : gone) properties.remove_child(child);
    pugi::xml_node first = properties.first_child();
    for (const pugi::xml_node& node : now.children()) {
        if (first) {
            properties.insert_copy_before(node, first);
        } else {
            properties.append_copy(node);
        }
    }
    if (nowText == beforeText) return;
    pugi::xml_node change = properties.append_child("w:pPrChange");
    stamp.on(change);
    change.append_copy(before);
}

// Writes the steps in order. Where many merge paragraphs, their merges are planned a batch
// ahead on a second core while the batch before is written: a batch's contents are read first,
// in turn, as reading keys them in the comparison's shared table; planning keys the words in a
// table of its own, as a merge compares only the words of its own two paragraphs.
void WriteSteps(const std::vector<Step>& steps, const Story& a, const Story& b, Rebuild& rebuild,
                WriteContext& context, Part part, std::vector<pugi::xml_node>& written) {
    constexpr std::size_t kBatch = 256;
    std::vector<std::size_t> merges;  // the steps that merge paragraphs
    for (std::size_t s = 0; s < steps.size(); ++s) {
        if (Merges(steps[s], b)) merges.push_back(s);
    }
    if (merges.size() < 2 * kBatch) {
        for (const Step& step : steps) WriteBlock(step, a, b, rebuild, context, part, written);
        return;
    }
    KeyTable words(context.revised.keys().like());
    // The merges [begin, end) with their contents read, ready to be planned.
    auto read = [&](std::size_t begin, std::size_t end) {
        std::vector<MergePlan> batch;
        for (std::size_t m = begin; m < end; ++m) {
            const Step& step = steps[merges[m]];
            batch.push_back({.a = context.original.content(a.blocks[step.a]),
                             .b = context.revised.content(b.blocks[step.b])});
        }
        return batch;
    };
    auto plan = [&](std::vector<MergePlan>& batch, std::size_t begin) {
        for (std::size_t k = 0; k < batch.size(); ++k) {
            batch[k] = PlanMerge(std::move(batch[k].a), std::move(batch[k].b), words,
                                 steps[merges[begin + k]].unlike);
        }
    };
    std::vector<MergePlan> current = read(0, kBatch);
    plan(current, 0);
    std::size_t at = 0;
    for (std::size_t begin = 0; begin < merges.size(); begin += kBatch) {
        const std::size_t end = std::min(begin + kBatch, merges.size());
        std::vector<MergePlan> next = read(end, std::min(end + kBatch, merges.size()));
        const std::size_t stop = end < merges.size() ? merges[end] : steps.size();
        BothAtOnce(
            [&] {
                for (std::size_t m = begin; at < stop; ++at) {
                    const bool merging = m < end && merges[m] == at;
                    WriteBlock(steps[at], a, b, rebuild, context, part, written,
                               merging ? &current[m++ - begin] : nullptr);
                }
            },
            [&] { plan(next, end); });
        current = std::move(next);
    }
}

}  // namespace

std::vector<pugi::xml_node> WriteStory(const std::vector<Step>& steps, const Story& a,
                                       const Story& b, WriteContext& context, Part part) {
    Rebuild rebuild(b.container);
    std::vector<pugi::xml_node> written;
    WriteSteps(steps, a, b, rebuild, context, part, written);
    for (pugi::xml_node node : b.trailing) rebuild.keep(node);
    rebuild.finish();
    return written;
}

void KeepTheLastMark(const std::vector<pugi::xml_node>& written, int settle, const Story& a,
                     const Story& b, Stamp& stamp) {
    // When one side has no paragraph at all, every mark of the other stays: its reading of the
    // story is empty, and so must the result's be.
    const bool bothHaveBlocks = !a.blocks.empty() && !b.blocks.empty();
    if (bothHaveBlocks && !written.empty() && std::strcmp(written.back().name(), "w:p") == 0) {
        Mark mark;
        const bool lastIsMarked = UnmarkParagraphMark(written.back(), mark);
        if (lastIsMarked && settle >= 0 && std::strcmp(written[settle].name(), "w:p") == 0) {
            const Mark moved = mark == Mark::MoveFrom ? Mark::Delete
                               : mark == Mark::MoveTo ? Mark::Insert
                                                      : mark;
            MarkParagraphMark(written[settle], moved, stamp);
            CarryPropertiesOverTheEnd(written[settle], written.back(), moved, stamp);
        }
    }
}

void CompareStory(const Story& a, const Story& b, WriteContext& context, Part part, bool moves) {
    std::vector<Step> steps = AlignStories(
        a, b, {.caseless = context.options.ignoreCase, .moves = moves}, context.nextMove);
    const int settle = SettleTheEnd(steps, a, b);
    const std::vector<pugi::xml_node> written = WriteStory(steps, a, b, context, part);
    RecordMoves(steps, a, b, context, part);
    KeepTheLastMark(written, settle, a, b, context.stamp);
}

}  // namespace redline
