// What a block's words and text are, to the comparison and to its reports: a bag of its words
// for how alike two blocks are, and its text as a change report gives it.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace redline {

// A block's words as the sorted hashes of those that hold letters, with a word of its own for
// each thing that is not text (a note's reference, a field, a picture).
using Bag = std::vector<std::uint64_t>;

// `caseless`: words that differ only in case are one.
Bag WordsOf(const pugi::xml_node& node, bool caseless = false);

// The share of their words two bags have in common (Dice's coefficient); two empty ones are
// alike.
double Shared(const Bag& a, const Bag& b);

// The bags of a sequence of blocks, each made when first asked for.
class Bags {
  public:
    Bags(std::size_t count, bool caseless)
        : bags_(count), made_(count, false), caseless_(caseless) {}
    const Bag& of(std::size_t index, const pugi::xml_node& node) {
        if (!made_[index]) {
            bags_[index] = WordsOf(node, caseless_);
            made_[index] = true;
        }
        return bags_[index];
    }

  private:
    std::vector<Bag> bags_;
    std::vector<bool> made_;
    bool caseless_;
};

// The text of a block, a note or a row as a change report gives it: tabs and breaks as such,
// paragraphs on lines of their own, a field's result without its code.
std::string ReportText(const pugi::xml_node& node);

}  // namespace redline
