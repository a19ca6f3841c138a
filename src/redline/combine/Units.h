// A reviewer's marked body cut where the reviewers' results meet. Every reviewer's result gives the
// original back when its changes are rejected, so each holds the original's blocks in one order:
// a unit is one of them, with the paragraphs that rejecting joins to it; what rejecting removes
// whole (a paragraph, table or control inserted or moved here) stands in the gaps between them.
#pragma once

#include <pugixml.hpp>

#include <functional>
#include <string>
#include <vector>

#include "redline/read/Model.h"

namespace redline {

struct MarkedUnits {
    std::vector<std::vector<pugi::xml_node>> units;  // one a block of the original, in order
    // gaps[i]: what stands inserted before unit i; the last, what stands after every unit.
    std::vector<std::vector<pugi::xml_node>> gaps;
    pugi::xml_node sections;  // the body's own section properties, or none
};

// Cuts the blocks of a marked body, as the model reads it, into units and gaps.
MarkedUnits CutIntoUnits(const Story& body);

// Where paragraphs a reviewer added after the story's last one begin in its last unit: the
// paragraph before them keeps its words but its mark is new, they are new but for the last
// one's mark, which rejecting gives that paragraph's words back to. 0 when the unit is not so
// (or the reviewer changed that paragraph's words too).
std::size_t AppendedFrom(const std::vector<pugi::xml_node>& unit);

// Whether rejecting every change removes the block whole.
bool InsertedWhole(const Block& block);

// Joins adjacent runs below `node` whose properties are alike, their texts one.
void JoinAlikeRuns(pugi::xml_node node);

// What the ids in content point at, each as one text: a relationship's part or address, and
// the note or comment of a reference.
struct SignatureReader {
    std::function<std::string(const std::string& relationship)> target;
    std::function<std::string(const pugi::xml_node& reference)> story;
};

// What accepting the nodes' changes gives a reader, formatting included, but not who made a
// change, when, under which ids or in which runs: reviewers who changed an original block alike
// give one text, whatever marks their comparisons chose.
std::string AcceptedSignature(const std::vector<pugi::xml_node>& nodes,
                              const SignatureReader& reader);

}  // namespace redline
