// What a comparison is told, in its stages' own terms: whose marks it writes and when, what it
// marks, what it takes as alike and what it leaves as the revised document has it. The front
// files translate the public settings into these.
#pragma once

#include <string>

#include "redline/read/KeyTable.h"

namespace redline {

// Parts taken from the revised document unmarked.
struct LeftAlone {
    bool headers = false, footers = false, footnotes = false, endnotes = false, textBoxes = false,
         comments = false;
};

struct Rules {
    std::string author;
    std::string date;                 // as ISO 8601 wants it
    bool formatting = true;           // changes of formatting are marked as well as of text
    bool moves = true;                // a moved paragraph is marked moved
    bool characterLevel = false;      // a changed word marks only the characters that changed
    bool tablesAsParagraphs = false;  // a table's structure is left alone, its text compared
    // Block-level content controls that hold changes give way to their content: for an office
    // that shows no change inside them.
    bool unwrapChangedControls = false;
    // The revised document's own tracked changes stay in the result under their authors.
    bool keepTracked = false;
    Likeness like;  // what is alike beyond equal text
    LeftAlone leave;
};

}  // namespace redline
