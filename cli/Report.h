// What quorvane-compare prints about a comparison: the counts for a reader, or one JSON object
// that lists every change for a script.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "redline/Changes.h"
#include "redline/Compare.h"

// `text` as a JSON string, quotes included.
std::string JsonText(const std::string& text);

// "insertions: 2", and so on, a line each.
void PrintCounts(std::ostream& out, const std::vector<redline::Change>& changes);

// A reviewer of combined copies, and the copy.
struct NamedCopy {
    std::string reviewer, path;
};

// The counts, the result's path, the settings used and every change with its kind, part, text
// and place (for a move, both places), as one JSON object on one line. Combined copies also give
// the reviewers, and each change its number ("id"), its reviewers and the changes it conflicts
// with; a comparison gives each change "tracked_by" (whose tracked change in the revised
// document it is, or null) and, with `tracked`, "tracked_inputs": each input's tracked changes
// by author, and whether they were accepted before comparing.
void PrintJson(std::ostream& out, const std::vector<redline::Change>& changes,
               const std::string& result, const redline::CompareOptions& settings,
               const std::vector<NamedCopy>& reviewers = {},
               const redline::TrackedInputs* tracked = nullptr);

// What the inputs' tracked changes were and how they were treated, a line each input that held
// any, for stderr; "" when neither held one.
std::string DescribeTrackedInputs(const redline::TrackedInputs& tracked,
                                  const std::string& original, const std::string& revised);

// Sets what `name` names in `skip` (tables, headers, footers, footnotes, endnotes, textboxes,
// fields; "comments" names nothing: comments are never compared); answers false for a name
// that is none of these.
bool SkipPart(const std::string& name, redline::Skipped& skip);

// The settings as a reader reads them: "formatting: compared", one a line.
std::vector<std::string> DescribeSettings(const redline::CompareOptions& settings);
