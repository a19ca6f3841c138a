// Content the revised document holds as deleted, which its accepted reading (and so the result)
// lacks, written back into the result where it stood: runs into a paragraph, a paragraph's end
// by cutting the paragraph there, whole paragraphs, tables and rows between the result's own.
#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <unordered_map>
#include <vector>

#include "redline/read/Trail.h"
#include "redline/write/Marks.h"

namespace redline {

class Reinsert {
  public:
    Reinsert(const std::vector<TrailStep>& result, const std::vector<TrailStep>& revised,
             Stamp& stamp);

    // Writes the revised steps `steps` (in order, each removed) before the result's step
    // `before` (its trail's size: after its last). Answers whether all found a place; nothing
    // is written where a piece finds none.
    bool before(std::size_t before, const std::vector<std::size_t>& steps);

  private:
    enum class PieceKind { Inline, Equation, ParagraphEnd, Block, Row };
    struct Piece {
        PieceKind kind;
        std::size_t first, last;  // in the steps to write
        pugi::xml_node node;      // the revised run, paragraph, row or table
    };

    std::vector<Piece> piecesOf(const std::vector<std::size_t>& steps, bool& found) const;
    // The largest revised element whose steps all follow from steps[at] on: the table or the
    // row that it begins, or its paragraph; else an inline piece of one step.
    Piece wholeAt(const std::vector<std::size_t>& steps, std::size_t at) const;
    // The revised step that ends a paragraph or a row.
    std::size_t endOf(const pugi::xml_node& element) const;
    bool inlinePiece(const Piece& piece, const std::vector<std::size_t>& steps);
    // Cuts the result's paragraph at the place: what stands before it becomes a paragraph of
    // its own, ended by the revised paragraph's deleted mark.
    bool paragraphEnd(const Piece& piece);
    // A deleted equation, copied whole with its marks.
    bool equation(const Piece& piece);
    bool block(const Piece& piece);
    // The place for inline pieces: before the result's step, out of its marks.
    // `revisedRun`: a run of the content to place, whose place it should keep.
    bool placeInline(const pugi::xml_node& revisedRun);
    // Gives the tracked changes of a copy ids of their own.
    void renumber(pugi::xml_node copy);

    const std::vector<TrailStep>& result_;
    const std::vector<TrailStep>& revised_;
    Stamp& stamp_;
    std::unordered_map<const void*, std::size_t> ends_;  // of paragraphs and rows
    std::size_t before_ = 0;
    bool placed_ = false;
    pugi::xml_node parent_, next_;  // the inline place, once placed
};

}  // namespace redline
