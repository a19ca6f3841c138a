// A story rebuilt in place: blocks that stayed, changed, came, went or moved, in the order the
// result shows them.
#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <string_view>
#include <unordered_set>

#include "redline/align/Align.h"
#include "redline/align/StoryAlign.h"
#include "redline/io/BothAtOnce.h"
#include "redline/io/Elements.h"
#include "redline/io/Names.h"
#include "redline/io/Xml.h"
#include "redline/read/BlockText.h"
#include "redline/read/Canonical.h"
#include "redline/read/NestedStories.h"
#include "redline/read/Words.h"
#include "redline/write/Rebuild.h"
#include "redline/write/Writer.h"

namespace redline {

namespace {

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
        original.node.child(w::pPr).child(w::sectPr) || HoldsNestedStories(original.node)) {
        return;
    }
    pugi::xml_node(original.node).parent().remove_child(original.node);
}

// Whether the original's block holds marks of a comment that the result no longer has: kept, it
// is written as a changed one, so that those marks come along where they stood.
bool HoldsCarriedComment(const Block& original, const WriteContext& context) {
    if (!context.comments) return false;
    for (const pugi::xpath_node& found :
         original.node.select_nodes(".//w:commentRangeStart | .//w:commentReference")) {
        const std::string id = CommentCarryOver::CommentOf(found.node());
        if (!id.empty() && context.comments->originalOnly(id)) return true;
    }
    return false;
}

// Whether the step merges two paragraphs.
bool Merges(const Step& step, const Story& b) {
    return step.kind == StepKind::Modify && b.blocks[step.b].kind == BlockKind::Paragraph;
}

// `plan`: for a step that merges two paragraphs, its merge worked out already, or none.
// A block that stayed but changed inside: a paragraph merged with its original, a table or a
// content control compared within; answers the block written.
pugi::xml_node WriteModified(const Step& step, const Block& blockA, const Block& blockB,
                             Rebuild& rebuild, WriteContext& context, Part part,
                             const MergePlan* plan) {
    if (blockB.kind == BlockKind::Paragraph) {
        std::optional<MergePlan> planned;
        if (!plan) planned = PlanMerge(blockA.content, blockB.content, context.keys, step.unlike);
        const pugi::xml_node merged = rebuild.keep(MergeParagraphs(
            plan ? *plan : *planned, context, part, blockA.paragraph, blockB.paragraph));
        rebuild.drop(blockB.node);
        LetGo(blockA, part);
        return merged;
    }
    const pugi::xml_node kept = rebuild.keep(blockB.node);
    if (blockB.kind == BlockKind::Table) {
        WriteTable(blockA, blockB, context, part);
    } else if (blockB.kind == BlockKind::Control) {
        // The control stays; its content is compared as a story of its own.
        CompareStory(*blockA.inside, *blockB.inside, context, part, false);
    } else {
        context.kept(blockA.node, blockB.node);
    }
    return kept;
}

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
            if (HoldsCarriedComment(*blockA, context)) {
                written.push_back(
                    WriteModified(step, *blockA, *blockB, rebuild, context, part, plan));
                return;
            }
            written.push_back(rebuild.keep(blockB->node));
            context.kept(blockA->node, blockB->node);
            return;
        case StepKind::Modify:
            written.push_back(WriteModified(step, *blockA, *blockB, rebuild, context, part, plan));
            return;
        case StepKind::Delete:
        case StepKind::MoveFrom: {
            pugi::xml_node copied = rebuild.copy(blockA->node, context.carry);
            const pugi::xml_node section = blockA->node.child(w::pPr).child(w::sectPr);
            if (section && context.carriedSections) context.carriedSections->push_back(section);
            const int since = context.stamp.peek();
            MarkBlock(copied, step.move ? Mark::MoveFrom : Mark::Delete, context.stamp, step.move);
            if (!step.move) {
                context.record(
                    {ChangeKind::Deletion, part, ReaderText(*blockA), blockA->paragraph, 0}, since);
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
            context.inserted(kept);
            if (!step.move) {
                context.record(
                    {ChangeKind::Insertion, part, ReaderText(*blockB), 0, blockB->paragraph},
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
        context.changes.push_back({ChangeKind::Move, part, ReaderText(b.blocks[step.b]),
                                   from[step.move], b.blocks[step.b].paragraph,
                                   FirstMark(b.blocks[step.b].node)});
    }
}

// The paragraph's own properties as one side shows them (without its mark's formatting, its
// section or a change record), copied into a new element of `holder`.
pugi::xml_node PropertiesIn(const pugi::xml_node& paragraph, bool original, pugi::xml_node holder) {
    const pugi::xml_node properties = paragraph.child(w::pPr);
    const pugi::xml_node change = properties.child(w::pPrChange);
    const pugi::xml_node from = original && change ? change.child(w::pPr) : properties;
    pugi::xml_node copies = holder.append_child(w::pPr);
    for (const pugi::xml_node& child : from.children()) {
        const std::string_view name = child.name();
        if (name != w::rPr && name != w::sectPr && name != w::pPrChange) {
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
    pugi::xml_node properties = PropertiesOf(last, w::pPr);
    std::vector<pugi::xml_node> gone;
    for (pugi::xml_node child : properties.children()) {
        const std::string_view name = child.name();
        if (name != w::rPr && name != w::sectPr) gone.push_back(child);
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
    pugi::xml_node change = properties.append_child(w::pPrChange);
    stamp.on(change);
    change.append_copy(before);
}

// Writes the steps in order. Where many merge paragraphs, their merges are planned a batch
// ahead on a second core while the batch before is written: planning keys the words in a table
// of its own, as a merge compares only the words of its own two paragraphs.
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
    KeyTable words(context.keys.like());
    // The merges [begin, end), planned.
    auto plan = [&](std::size_t begin, std::size_t end) {
        std::vector<MergePlan> batch;
        for (std::size_t m = begin; m < end; ++m) {
            const Step& step = steps[merges[m]];
            batch.push_back(
                PlanMerge(a.blocks[step.a].content, b.blocks[step.b].content, words, step.unlike));
        }
        return batch;
    };
    std::vector<MergePlan> current = plan(0, kBatch), next;
    std::size_t at = 0;
    for (std::size_t begin = 0; begin < merges.size(); begin += kBatch) {
        const std::size_t end = std::min(begin + kBatch, merges.size());
        const std::size_t stop = end < merges.size() ? merges[end] : steps.size();
        BothAtOnce(
            [&] {
                for (std::size_t m = begin; at < stop; ++at) {
                    const bool merging = m < end && merges[m] == at;
                    WriteBlock(steps[at], a, b, rebuild, context, part, written,
                               merging ? &current[m++ - begin] : nullptr);
                }
            },
            [&] { next = plan(end, std::min(end + kBatch, merges.size())); });
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
    if (bothHaveBlocks && !written.empty() && std::strcmp(written.back().name(), w::p) == 0) {
        Mark mark;
        const bool lastIsMarked = UnmarkParagraphMark(written.back(), mark);
        if (lastIsMarked && settle >= 0 && std::strcmp(written[settle].name(), w::p) == 0) {
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
        a, b, {.caseless = context.rules.like.caseless, .moves = moves}, context.nextMove);
    const int settle = SettleTheEnd(steps, a, b);
    const std::vector<pugi::xml_node> written = WriteStory(steps, a, b, context, part);
    RecordMoves(steps, a, b, context, part);
    KeepTheLastMark(written, settle, a, b, context.stamp);
}

}  // namespace redline
