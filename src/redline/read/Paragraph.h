// Reading a paragraph into the model: its content as one stream of text, in which a picture, a
// field, a tab or any other thing that is not text stands as one character (kObjectMark), and
// the inlines that make it up, each with its kind, its text, its place in the XML and its mark.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <string>
#include <string_view>

#include "redline/read/KeyTable.h"
#include "redline/read/Model.h"

namespace redline {

// What a content key needs to know of things outside the paragraph: the content of a picture
// that a relationship names, or of a note that a reference names.
class ObjectKeys {
  public:
    virtual ~ObjectKeys() = default;
    // A key for the element or node range, such that equal things get equal keys.
    virtual std::string describe(const pugi::xml_node& node) = 0;
    // Whether keys are wanted at all: a reading for reports needs none.
    virtual bool wanted() const { return true; }
};

// Keys for a reading that compares nothing: every thing is alike.
class NoObjectKeys : public ObjectKeys {
  public:
    std::string describe(const pugi::xml_node&) override { return {}; }
    bool wanted() const override { return false; }
};

// `arena`: where what it holds is kept; else an arena of its own.
Paragraph ReadParagraph(const pugi::xml_node& paragraph, KeyTable& keys, ObjectKeys& objects,
                        ParagraphArena* arena = nullptr);

// The tracked change that the element marks content with (w:ins, w:del, w:moveFrom, w:moveTo),
// or none.
Revision RevisionOf(const pugi::xml_node& mark);

// The change to the paragraph's own mark, recorded in its mark's properties.
Revision ParagraphMarkRevision(const pugi::xml_node& paragraph);

// Hashes for the comparison: of the text as `keys` compares it, and of that with its formatting.
std::uint64_t TextHash(const Paragraph& content, KeyTable& keys);
std::uint64_t LookHash(const Paragraph& content, std::uint64_t textHash);

// The stream's bytes `from` to `to` as a reader sees them: each thing that is not text shows its
// text (a field its result, a tab "\t"), or "\u25A1" when it has none (a picture).
std::string ReaderText(const Paragraph& content, std::uint32_t from, std::uint32_t to);
std::string ReaderText(const Paragraph& content);

}  // namespace redline
