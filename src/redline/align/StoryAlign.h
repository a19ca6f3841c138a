// A story's blocks aligned: which stayed, changed, came, went or moved, pairing changed
// paragraphs by the words they share; and the end of the story settled so that its last
// paragraph mark stands whichever way the changes are taken.
#pragma once

#include <vector>

#include "redline/align/Align.h"
#include "redline/read/Model.h"

namespace redline {

struct StoryAlignRules {
    bool caseless = false;  // words of either case pair alike
    bool moves = true;      // a moved block is told apart from one deleted and inserted
};

// The steps that turn story `a` into `b`; moves are numbered on from `nextMove`.
std::vector<Step> AlignStories(const Story& a, const Story& b, const StoryAlignRules& how,
                               int& nextMove);

// A story must end with a paragraph mark that neither accepting nor rejecting takes away. When
// the changes after the last block that stayed both remove and add, the last of each are
// compared inside one paragraph; when they only remove or only add, the mark moves to the
// block before them (answered, with -1 when nothing need move).
int SettleTheEnd(std::vector<Step>& steps, const Story& a, const Story& b);

}  // namespace redline
