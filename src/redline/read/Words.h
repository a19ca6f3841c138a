// Splitting text into the units a comparison compares: words, runs of blanks, single marks of
// punctuation, and single characters of scripts that write no blanks between words (Chinese,
// Japanese). A changed word is then always marked whole.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace redline {

// Stands in the text for one thing that is not text (a picture, a field, a tab); always a unit
// of its own.
inline constexpr char kObjectMark = '\x01';

struct WordSpan {
    std::uint32_t begin, end;  // bytes of the UTF-8 text
};

std::vector<WordSpan> SplitWords(std::string_view text);

// Whether the span holds a letter or digit: what makes a unit worth marking on its own.
bool HoldsLetters(std::string_view text);

// Whether the unit is a run of blanks: spaces, no-break spaces and the like.
bool IsBlank(std::string_view unit);

// Appends the character `c` in UTF-8.
void AppendUtf8(char32_t c, std::string& out);

// The text in lower case, for the letters of the Latin, Greek and Cyrillic scripts.
std::string FoldCase(std::string_view text);

}  // namespace redline
