// The changes of a marked-up result as a word diff for terminals and version control: each
// changed paragraph a block headed by its part and number, deletions as [-...-] and insertions
// as {+...+}, moves and formatting changes named on lines of their own.
#pragma once

#include <ostream>
#include <vector>

#include "redline/MarkedResult.h"

void PrintWordDiff(std::ostream& out, const std::vector<redline::MarkedStory>& stories,
                   bool colour);
