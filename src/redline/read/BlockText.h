// What a block's words and text are, to the comparison and to its reports: a bag of its words
// for how alike two blocks are, and its text as a change report gives it, both from the model.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "redline/read/Model.h"

namespace redline {

// A block's words as the sorted hashes of those that hold letters, with a word of its own for
// each thing that is not text (a note's reference, a field, a picture).
using Bag = std::vector<std::uint64_t>;

// `caseless`: words that differ only in case are one.
Bag BagOf(const Block& block, bool caseless = false);
Bag BagOf(const Row& row, bool caseless = false);
Bag BagOf(const Story& story, bool caseless = false);

// The share of their words two bags have in common (Dice's coefficient); two empty ones are
// alike.
double Shared(const Bag& a, const Bag& b);

// The bags of a sequence of blocks, rows or cells, each made when first asked for.
class Bags {
  public:
    Bags(std::size_t count, bool caseless)
        : bags_(count), made_(count, false), caseless_(caseless) {}
    template <class Item>
    const Bag& of(std::size_t index, const Item& item) {
        if (!made_[index]) {
            bags_[index] = BagOf(item, caseless_);
            made_[index] = true;
        }
        return bags_[index];
    }

  private:
    std::vector<Bag> bags_;
    std::vector<bool> made_;
    bool caseless_;
};

// Whether a reader sees anything of the block: a paragraph holding anything that takes a place (a
// word, a tab, a symbol, a picture, a note's reference), a table, a control holding such, an
// imported chunk.
bool ShowsAnything(const Block& block);

// The text of a block, a row or a story as a change report gives it: each paragraph's as a
// reader sees it (ReaderText), paragraphs on lines of their own.
std::string ReaderText(const Block& block);
std::string ReaderText(const Row& row);
std::string ReaderText(const Story& story);

}  // namespace redline
