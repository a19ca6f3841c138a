// Where each comment stands in a story: the place its range (or, without one, its reference)
// begins in the story's text, and the text the range covers, as the story reads with every
// change rejected. Comments are paired and their copies judged by these.
#pragma once

#include <string>
#include <unordered_map>

#include "redline/read/Model.h"

namespace redline {

struct CommentAnchor {
    std::size_t offset = 0;
    std::string text;
    bool operator==(const CommentAnchor&) const = default;
};

// Every comment's anchor in `story`, by the comment's id; text boxes are read where they stand.
std::unordered_map<std::string, CommentAnchor> CommentAnchors(const Story& story);

}  // namespace redline
