// A paragraph's stream cut into the units the comparison aligns (words, runs of blanks, marks,
// objects), each with the key it compares by: where blanks are alike, a run of spaces, tabs and
// no-break spaces is one unit, and where case is, a word compares in lower case.
#pragma once

#include <cstdint>
#include <vector>

#include "redline/read/KeyTable.h"
#include "redline/read/Model.h"
#include "redline/read/Words.h"

namespace redline {

struct Units {
    std::vector<WordSpan> spans;
    std::vector<std::uint32_t> keys;
    std::vector<std::uint32_t> weights;
    std::vector<bool> light;
    std::vector<bool> objects;  // a picture, field, note reference or other thing, not a word
};

Units UnitsOf(const Paragraph& content, KeyTable& table);

}  // namespace redline
