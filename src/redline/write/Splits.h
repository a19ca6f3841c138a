// Cutting the result's runs, marks and paragraphs where a change laid over it begins or ends:
// what stood before a cut stays in the element it was in, what follows moves to a new one, so
// that places met earlier in reading order keep their nodes.
#pragma once

#include <pugixml.hpp>

#include <cstdint>

#include "redline/write/Marks.h"

namespace redline {

// A place between two siblings: before `before` in `parent`, or at its end.
struct Point {
    pugi::xml_node parent{};
    pugi::xml_node before{};
};

// The place before byte `offset` of the run's child `node` (a text, or any child at offset 0),
// the run cut there where something of it stands before.
Point CutRunBefore(pugi::xml_node node, std::uint32_t offset, Stamp& stamp);

// The run that holds exactly what lies from byte `begin` of `first` to byte `end` of `last`
// (children of one run; `end` 0 for a child that is not text).
pugi::xml_node IsolateRun(pugi::xml_node first, std::uint32_t begin, pugi::xml_node last,
                          std::uint32_t end, Stamp& stamp);

// The same place, out of the tracked changes around it: each is cut there, its second piece
// with an id of its own.
Point OutOfMarks(Point point, Stamp& stamp);

// The mark around `node` holding it alone: cut before and after it, the new pieces with ids of
// their own; the piece that holds `node` is answered, or none when it stands in no mark.
pugi::xml_node MarkAroundAlone(pugi::xml_node node, Stamp& stamp);

// Whether the element is an insertion, deletion or move around content.
bool IsContentMark(const pugi::xml_node& node);

// Gives `mark` the author and date of `from`.
void TakeAuthor(pugi::xml_node mark, const pugi::xml_node& from);

}  // namespace redline
