// The ids and move names of tracked changes made by separate comparisons, made to live in one
// document: each reviewer's marks are numbered in a range of their own, and a move whose other
// half did not come along becomes a deletion or an insertion.
#pragma once

#include <pugixml.hpp>

#include <set>
#include <string>
#include <vector>

namespace redline {

// Moves the id of every tracked change below `root` up by `offset`, and gives every move's name
// the ending `suffix`.
void OffsetMarks(pugi::xml_node root, int offset, const std::string& suffix);

// Adds the id of every tracked change below `root` to `ids`.
void CollectMarkIds(const pugi::xml_node& root, std::set<int>& ids);

// A move that has only one half below the roots: its paragraphs' moved text becomes deleted or
// inserted text, and its range marks go.
void SettleUnpairedMoves(const std::vector<pugi::xml_node>& roots);

}  // namespace redline
