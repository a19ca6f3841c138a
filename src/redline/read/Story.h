// A story: the sequence of paragraphs and tables that a container of a document holds (the body,
// a table cell, a header or footer, a note, a text box), each block reduced to the hashes that
// alignment needs.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "redline/read/Paragraph.h"

namespace redline {

enum class BlockKind : std::uint8_t { Paragraph, Table, Other, Control };

struct Block {
    BlockKind kind;
    pugi::xml_node node{};
    std::uint64_t text = 0;                 // what it says
    std::uint64_t look = 0;                 // what it says, and how it looks
    std::uint32_t weight = 0;               // characters of text
    std::uint32_t paragraph = 0;            // the number of its first paragraph in the part, from 1
    std::vector<pugi::xml_node> leading{};  // markers at block level just before it
};

// How many paragraphs of its story `node` holds, those of nested tables and controls too, not
// those of its text boxes (stories of their own): what follows numbers its paragraphs on from
// there, as the story's reader does.
std::uint32_t ParagraphsIn(const pugi::xml_node& node);

struct Story {
    pugi::xml_node container;
    std::vector<Block> blocks;
    std::vector<pugi::xml_node> trailing;  // after the last block: markers, section properties
};

struct Row {
    pugi::xml_node node;  // the table's child: the row, or a content control around it
    pugi::xml_node tr;    // the row itself
    std::uint64_t text = 0, look = 0;
    std::vector<pugi::xml_node> cells{};
    std::uint32_t paragraph = 0;
    // Its cells and the content controls around it and them: rows of different shapes are
    // never compared inside, as no tracked change adds or removes a control.
    int shape = 0;
};

// The elements `name` ("w:tr", "w:tc") among the children of `parent`, and inside the content
// controls and custom XML around them.
std::vector<pugi::xml_node> WrappedChildren(const pugi::xml_node& parent, const char* name);

// What tells block-level content controls apart: their tag and title.
std::string ControlKey(const pugi::xml_node& control);

class StoryReader {
  public:
    StoryReader(KeyTable& keys, ObjectKeys& objects) : keys_(keys), objects_(objects) {}

    // Reads the blocks of `container`, numbering its paragraphs on from `firstParagraph`.
    Story read(const pugi::xml_node& container, std::uint32_t firstParagraph = 1);
    std::vector<Row> rows(const Block& table);
    // The paragraph's content: read again, or handed over once if it was kept when read.
    ParagraphContent content(const Block& paragraph);
    KeyTable& keys() { return keys_; }

  private:
    Block table(const pugi::xml_node& node);
    Block control(const pugi::xml_node& node);

    KeyTable& keys_;
    ObjectKeys& objects_;
    std::uint32_t paragraph_ = 1;
    // Long paragraphs, as read for their hashes, until they are merged: reading one again costs
    // as much as comparing it. Short ones are read again, which costs less than holding them.
    static constexpr std::size_t kKeptFrom = 4096;  // characters
    std::unordered_map<const void*, ParagraphContent> kept_;
};

}  // namespace redline
