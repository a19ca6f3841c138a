// Tracked changes accepted or rejected the tests' own way, so that a comparison's result is
// checked by a resolver that shares no code with the engine's: inserted, deleted and moved
// content; paragraph marks (a paragraph whose mark goes joins the next of its story, the last
// one the one before); rows and cells; equations' control marks; every kind of property change;
// move and custom XML ranges.
#pragma once

#include <pugixml.hpp>

#include <string>

enum class Resolution { Accept, Reject };

// Accepts or rejects every tracked change below `root`, in place; with an `author`, that
// author's changes so and everyone else's the other way. Names are read with the tests'
// prefixes (support/XmlNames).
void ResolveTrackedChanges(pugi::xml_node root, Resolution resolution,
                           const std::string& author = "");
