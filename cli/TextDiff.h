// The changes of a marked-up result as a word diff for terminals and version control: each
// changed paragraph a block headed by its part and number, deletions as [-...-] and insertions
// as {+...+}, moves and formatting changes named on lines of their own. When changes come from
// more than one reviewer, each is preceded by its reviewer's name in parentheses: "(Ann)".
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "redline/MarkedResult.h"

// `authors`: who made each change, by its id (redline::ChangeAuthors).
void PrintWordDiff(std::ostream& out, const std::vector<redline::MarkedStory>& stories, bool colour,
                   const std::map<int, std::string>& authors = {});
