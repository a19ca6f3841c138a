// The inputs' own tracked changes, accepted at the XML level before a comparison: every revision
// form documents may hold (inserted, deleted and moved content, paragraph marks, table rows and
// cells, changed properties, move ranges) accepted in place, in any part, so that each document
// is compared as it reads now.
#pragma once

#include <pugixml.hpp>

#include <map>
#include <string>

namespace redline {

// Accepts every tracked change below `root` (a part's document element, or any element of it).
// A paragraph whose mark goes joins the next paragraph of its story, which keeps its own
// properties; the last one of a story joins the one before it.
void AcceptRevisions(pugi::xml_node root);

// Counts the tracked changes below `root` by author: each mark of content, of a paragraph's
// end, of a row or cell, and each record of changed properties (a move's range marks are not
// changes of their own).
void CountRevisions(const pugi::xml_node& root, std::map<std::string, int>& byAuthor);

// The highest id a tracked change below `root` carries, or 0.
int HighestRevisionId(const pugi::xml_node& root);

// The same in an XML part's text as it stands, whatever its prefixes: for parts not parsed.
int HighestRevisionId(const std::string& xml);

// Whether anything below `root` is a tracked change of any form.
bool HoldsRevisions(const pugi::xml_node& root);

// Whether the element is a tracked change's own markup, which carries the change's id: a mark of
// content, a record of changed properties, a move's range mark, a cell's mark.
bool IsRevisionMark(const pugi::xml_node& node);

}  // namespace redline
