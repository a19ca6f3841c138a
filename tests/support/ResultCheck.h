// The rules every word processing package keeps, whoever wrote it, checked on a comparison's
// result with a reading of its own (libzip and pugixml directly, prefixes resolved by the tests'
// own walk): every part well-formed and every prefix declared; every part with a content type;
// every relationship a part names present, and the parts they point at; change ids, paragraph
// ids, note and comment ids and style ids unique; move ranges paired, by id and by name, around the
// moves they hold; deleted text only in deletions; tracked-change marks only where the schema
// places them.
#pragma once

#include <string>
#include <vector>

#include "redline/Compare.h"

// What the package at `path` breaks, one line a rule and place, sorted; empty when nothing.
std::vector<std::string> ResultProblems(const std::string& path);

// What `result` breaks that none of `inputs` breaks (a rule an input breaks already may come
// along into the result), as one text; "" when nothing.
std::string NewResultProblems(const std::string& result, const std::vector<std::string>& inputs);

// Compares as redline::CompareDocuments does, then checks the result: raises std::logic_error
// naming every rule it breaks that neither input breaks.
std::vector<redline::Change> CheckedCompare(const std::string& original, const std::string& revised,
                                            const std::string& result,
                                            const redline::CompareOptions& options = {});
