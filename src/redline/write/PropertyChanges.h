// Formatting beyond runs and paragraphs: a table's, a row's, a cell's and a section's properties,
// kept in the result as the revised document has them, with the original's in a change record
// where they differ, and named as a reader would name them.
#pragma once

#include <pugixml.hpp>

#include <string>

#include "redline/io/Names.h"
#include "redline/write/Marks.h"

namespace redline {

// Records the original's properties `name` (w::tblPr, w::trPr, w::tcPr) of `a` as a change
// (`changeName`) of those of `b` where they differ; answers what differs as a reader names it
// ("row height", "cell shading, vertical alignment"), or "" when nothing does.
std::string KeepOriginalProperties(const pugi::xml_node& a, pugi::xml_node b, const char* name,
                                   const char* changeName, Stamp& stamp);

// Records the original's grid of columns as a change of the revised table's where they differ;
// answers whether they did.
bool KeepOriginalGrid(const pugi::xml_node& a, const pugi::xml_node& b, Stamp& stamp);

// Records the original section's properties (`a`, a copy is fine) as a change of the revised
// section's `b` where they differ, leaving the choice of headers and footers, which is compared
// with the headers and footers themselves; answers what differs ("landscape, margins"), or "".
std::string KeepOriginalSection(const pugi::xml_node& a, pugi::xml_node b, Stamp& stamp);

}  // namespace redline
