// Reading a story into the model: the blocks that a container of a document holds (the body, a
// table cell, a header or footer, a note, a text box), each with what it holds (a paragraph's
// inlines, a table's rows and cells, a control's blocks) and the hashes that alignment needs.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "redline/read/Model.h"
#include "redline/read/Paragraph.h"

namespace redline {

// How many paragraphs of its story `node` holds, those of nested tables and controls too, not
// those of its text boxes (stories of their own): what follows numbers its paragraphs on from
// there, as the story's reader does.
std::uint32_t ParagraphsIn(const pugi::xml_node& node);

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
    KeyTable& keys() { return keys_; }
    // A reading for reports, which align nothing: no hashes.
    StoryReader& withoutHashes() {
        hashed_ = false;
        return *this;
    }

  private:
    Block paragraph(const pugi::xml_node& node);
    Block table(const pugi::xml_node& node);
    Block control(const pugi::xml_node& node);
    Block other(const pugi::xml_node& node);
    Row row(const pugi::xml_node& node);

    KeyTable& keys_;
    ObjectKeys& objects_;
    std::uint32_t paragraph_ = 1;
    bool hashed_ = true;
    std::shared_ptr<ParagraphArena> arena_ = std::make_shared<ParagraphArena>();
};

}  // namespace redline
