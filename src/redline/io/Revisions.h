// Tracked changes resolved at the XML level: every revision form that the engine writes and that
// documents may hold (inserted, deleted and moved content, paragraph marks, table rows and cells,
// changed properties, move ranges) accepted or rejected in place, in any part. The engine takes
// the inputs' own changes as accepted through it; the tests check each result through it.
#pragma once

#include <pugixml.hpp>

namespace redline {

enum class Resolution { Accept, Reject };

// Accepts or rejects every tracked change below `root` (a part's document element, or any
// element of it). A paragraph whose mark goes joins the next paragraph of its story, which keeps
// its own properties; the last one of a story joins the one before it.
void ResolveRevisions(pugi::xml_node root, Resolution resolution);

// Whether anything below `root` is a tracked change of any form.
bool HoldsRevisions(const pugi::xml_node& root);

}  // namespace redline
