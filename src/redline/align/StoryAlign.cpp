// A story's blocks aligned: which stayed, changed, came, went or moved, pairing changed
// paragraphs by the words they share.
#include <algorithm>

#include "redline/align/StoryAlign.h"
#include "redline/io/BothAtOnce.h"
#include "redline/read/BlockText.h"

namespace redline {

namespace {

bool Removes(StepKind kind) {
    return kind == StepKind::Delete || kind == StepKind::MoveFrom;
}

bool Adds(StepKind kind) {
    return kind == StepKind::Insert || kind == StepKind::MoveTo;
}

// Makes the bags of the blocks a story's changed stretches may pair, each side's on a core of its
// own when there are enough of them to be worth a thread.
void PrepareBags(const std::vector<int>& as, const Story& a, Bags& bagsA,
                 const std::vector<int>& bs, const Story& b, Bags& bagsB) {
    auto make = [](const std::vector<int>& items, const Story& story, Bags& bags) {
        for (const int i : items) {
            const BlockKind kind = story.blocks[i].kind;
            if (kind == BlockKind::Paragraph || kind == BlockKind::Control) {
                bags.of(i, story.blocks[i]);
            }
        }
    };
    // Many blocks, or few long ones (a paragraph of a run per word): else made when first asked.
    constexpr std::size_t kWorthAThread = 256;             // blocks
    constexpr std::uint64_t kWorthAThreadAlone = 1 << 14;  // characters
    std::uint64_t characters = 0;
    for (const int i : as) characters += a.blocks[i].weight;
    for (const int j : bs) characters += b.blocks[j].weight;
    if (as.size() + bs.size() < kWorthAThread && characters < kWorthAThreadAlone) return;
    BothAtOnce([&] { make(as, a, bagsA); }, [&] { make(bs, b, bagsB); });
}

}  // namespace

// The steps that turn story `a` into `b`. The word bags that pairing needs go with it: a
// rewritten story's result is built from here on, and they would only stand beside it.
std::vector<Step> AlignStories(const Story& a, const Story& b, const StoryAlignRules& how,
                               int& nextMove) {
    auto items = [](const Story& story) {
        std::vector<Item> items;
        for (const Block& block : story.blocks) {
            items.push_back({block.text, block.look, static_cast<int>(block.kind), block.weight});
        }
        return items;
    };
    AlignRules rules;
    rules.moves = how.moves;
    const bool caseless = how.caseless;
    Bags bagsA(a.blocks.size(), caseless), bagsB(b.blocks.size(), caseless);
    auto alike = [&](int i, int j) {
        return Shared(bagsA.of(i, a.blocks[i]), bagsB.of(j, b.blocks[j]));
    };
    rules.similarity = [&](int i, int j) {
        switch (a.blocks[i].kind) {
            case BlockKind::Paragraph:
                return alike(i, j);
            case BlockKind::Table:
                return 1.0;
            case BlockKind::Control:
                // The same control pairs up, however much of its content changed.
                return a.blocks[i].control == b.blocks[j].control ? std::max(0.5, alike(i, j))
                                                                  : -1.0;
            default:
                return -1.0;
        }
    };
    rules.pairAlone = [&](int i, int j) {
        constexpr std::size_t kShort = 3;  // words
        return a.blocks[i].kind == BlockKind::Paragraph &&
               bagsA.of(i, a.blocks[i]).size() <= kShort &&
               bagsB.of(j, b.blocks[j]).size() <= kShort;
    };
    rules.prepare = [&](const std::vector<int>& as, const std::vector<int>& bs) {
        PrepareBags(as, a, bagsA, bs, b, bagsB);
    };
    return Align(items(a), items(b), rules, nextMove);
}

// A story must end with a paragraph mark that neither accepting nor rejecting takes away. When
// the changes after the last block that stayed both remove and add, the last of each are
// compared inside one paragraph; when they only remove or only add, the mark moves to the
// block before them (answered, with -1 when nothing need move).
int SettleTheEnd(std::vector<Step>& steps, const Story& a, const Story& b) {
    int last = -1;
    for (int i = 0; i < static_cast<int>(steps.size()); ++i) {
        if (steps[i].kind == StepKind::Keep || steps[i].kind == StepKind::Modify) last = i;
    }
    int removing = -1, adding = -1;
    for (int i = last + 1; i < static_cast<int>(steps.size()); ++i) {
        if (Removes(steps[i].kind) && a.blocks[steps[i].a].kind == BlockKind::Paragraph)
            removing = i;
        if (Adds(steps[i].kind) && b.blocks[steps[i].b].kind == BlockKind::Paragraph) adding = i;
    }
    if (removing < 0 && adding < 0) return -1;
    if (removing < 0 || adding < 0) return last;
    for (const int taken : {removing, adding}) {
        if (!steps[taken].move) continue;
        for (Step& partner : steps) {
            if (&partner == &steps[taken] || partner.move != steps[taken].move) continue;
            partner.kind = partner.kind == StepKind::MoveFrom ? StepKind::Delete : StepKind::Insert;
            partner.move = 0;
        }
    }
    const Step joined{StepKind::Modify, steps[removing].a, steps[adding].b, 0, true};
    steps.erase(steps.begin() + std::max(removing, adding));
    steps.erase(steps.begin() + std::min(removing, adding));
    steps.push_back(joined);
    return -1;
}

}  // namespace redline
