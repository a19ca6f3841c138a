// What quorvane-compare prints about a comparison: the counts for a reader, or one JSON object
// that lists every change for a script.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "redline/Changes.h"

// `text` as a JSON string, quotes included.
std::string JsonText(const std::string& text);

// "insertions: 2", and so on, a line each.
void PrintCounts(std::ostream& out, const std::vector<redline::Change>& changes);

// The counts, the result's path and every change with its kind, part, text and place (for a
// move, both places), as one JSON object on one line.
void PrintJson(std::ostream& out, const std::vector<redline::Change>& changes,
               const std::string& result);
