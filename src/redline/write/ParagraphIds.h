// Paragraph ids (w14:paraId, on paragraphs and rows) are unique in a document, as Word wants them:
// content carried from the original keeps the original's ids, which the revised paragraphs it
// came from may still carry (a paragraph moved, one replaced whole).
#pragma once

#include <pugixml.hpp>

#include <vector>

namespace redline {

// Gives a fresh id to every paragraph or row below `roots` whose id another one has already:
// what stays in the revised document keeps its id, what rejecting alone keeps gives way.
void MakeParagraphIdsUnique(const std::vector<pugi::xml_node>& roots);

}  // namespace redline
