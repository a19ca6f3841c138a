// The typed model of a document's stories, read once from the XML: blocks (paragraph, table with
// rows and cells, content control, other) and a paragraph's inlines, each with the text a reader
// sees, its place in the XML for the writer, and the tracked change it stands in. Every stage
// after the reader works on these values; none walks the XML for text again.
#pragma once

#include <pugixml.hpp>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace redline {

// What became of a piece of content in the document's own tracked changes.
enum class MarkKind : std::uint8_t { None, Inserted, Deleted, MovedFrom, MovedTo };

struct Revision {
    MarkKind kind = MarkKind::None;
    pugi::xml_node node{};  // the mark's element, which holds its id, author and date
    int id() const;
    std::string author() const;
    std::string date() const;
    bool removes() const { return kind == MarkKind::Deleted || kind == MarkKind::MovedFrom; }
};

// What an inline is, as a reader knows it.
enum class InlineKind : std::uint8_t {
    Text,           // characters
    Tab,            // a tab, positional or not
    Break,          // a line, column or page break
    NoBreakHyphen,  // a hyphen that never breaks
    Symbol,         // a character of a symbol font
    Field,          // a field's runs from its beginning to its end, or a simple field
    FieldPart,      // a field's beginning, separator, end or code, where it has no end in reach
    NoteReference,  // a footnote's or an endnote's reference
    CommentMark,    // a comment's range start or end, or its reference
    Bookmark,       // a bookmark's or a permission's start or end, a move's range mark
    Drawing,        // a picture, chart or shape in DrawingML
    Object,         // an embedded object, a VML picture, alternate content
    Equation,       // an equation or an equation paragraph
    Control,        // an inline content control compared as one thing
    Other,          // anything else that takes a place
};

// How the writer takes an inline over: characters of a text, one child of a run, a range of
// sibling nodes copied whole, or a marker that takes no place.
enum class Place : std::uint8_t { Text, RunChild, Range, Marker };

struct Inline {
    Place place = Place::Text;
    InlineKind kind = InlineKind::Other;
    std::uint32_t begin = 0, end = 0;            // in the paragraph's stream
    std::uint32_t shownBegin = 0, shownEnd = 0;  // its text in the paragraph's `shown`, if no Text
    pugi::xml_node node{};     // the text, the element, the first node, the marker
    pugi::xml_node last{};     // Range: the last sibling of the range
    pugi::xml_node run{};      // Text, RunChild: the run it sits in
    pugi::xml_node wrapper{};  // the link or control content it sits in, or none
    std::uint32_t object = 0;  // RunChild, Range: the key of what it is
    std::uint32_t link = 0;    // the key of the link or control it sits in, or 0
    std::uint64_t look = 0;    // Text, RunChild: a hash of how its run's properties look
    Revision mark{};           // the tracked change it stands in
};

// Where a reading keeps its paragraphs' inlines and texts: in large chunks, each paragraph's
// together, so that a long story's many paragraphs cost no allocation of their own.
template <class T, std::size_t kLargestChunk>
class Arena {
  public:
    // A lasting copy of `items`.
    std::span<const T> keep(std::span<const T> items) {
        if (items.empty()) return {};
        if (size_ - used_ < items.size()) grow(items.size());
        T* at = chunks_.back().get() + used_;
        std::copy(items.begin(), items.end(), at);
        used_ += items.size();
        return {at, items.size()};
    }
    // A lasting place for `item`.
    T& add(T&& item) {
        if (used_ == size_) grow(1);
        T& at = chunks_.back()[used_++];
        at = std::move(item);
        return at;
    }

  private:
    // A new chunk for at least `needed`: each twice the last, up to the largest, so that the
    // many short stories (cells, notes, comments) take little.
    void grow(std::size_t needed) {
        size_ = std::max(needed, std::min(kLargestChunk, size_ ? 2 * size_ : std::size_t{8}));
        chunks_.push_back(std::make_unique<T[]>(size_));
        used_ = 0;
    }

    std::vector<std::unique_ptr<T[]>> chunks_;
    std::size_t used_ = 0, size_ = 0;  // of the last chunk
};

struct Paragraph;

// Where a reading keeps its paragraphs: one place for the paragraphs of a story and of the
// stories nested in it, which lets go of them all at once.
struct ParagraphArena {
    Arena<Paragraph, 1024> paragraphs;
    Arena<Inline, 4096> inlines;
    Arena<char, 1 << 16> texts;
    std::string_view keepText(std::string_view text) {
        const std::span<const char> kept = texts.keep({text.data(), text.size()});
        return {kept.data(), kept.size()};
    }
};

// A paragraph: its content as one stream of text for the comparison, in which each thing that
// is not text stands as one character (kObjectMark), and the inlines that make it up. What it
// holds lives in the arena of the reading that made it.
struct Paragraph {
    pugi::xml_node node{};  // the w:p
    std::string_view stream;
    std::string_view shown;           // the texts of the inlines that are not text, in turn
    std::span<const Inline> inlines;  // in stream order
    std::uint64_t look = 0;           // a hash of how its own properties look
    Revision end{};                   // what became of its paragraph mark
    // The arena of a paragraph read on its own, which holds what it holds.
    std::shared_ptr<const ParagraphArena> own{};

    // The inline's text as a reader sees it: a text's characters, a tab's "\t", a field's
    // result, an equation's text, a text box's words; "" for a marker or a picture.
    std::string_view textOf(const Inline& inline_) const;
    // The object key of the stream's character at `at` (a kObjectMark), or 0.
    std::uint32_t objectAt(std::uint32_t at) const;
    // The inline that stands at `at`, or nullptr.
    const Inline* inlineAt(std::uint32_t at) const;
    // The key of the link that the stream's character at `at` sits in, or 0.
    std::uint32_t linkAt(std::uint32_t at) const;
};

enum class BlockKind : std::uint8_t { Paragraph, Table, Other, Control };

struct Row;
struct Block;

// A sequence of blocks: the body, a table cell, a header or footer, a note, a comment, a text
// box, a content control's content.
struct Story {
    pugi::xml_node container{};
    std::vector<Block> blocks;
    std::vector<pugi::xml_node> trailing;  // after the last block: markers, section properties
    std::shared_ptr<const ParagraphArena> paragraphs{};  // what its blocks' contents live in
};

struct Block {
    BlockKind kind;
    pugi::xml_node node{};
    std::uint64_t text = 0;                 // what it says
    std::uint64_t look = 0;                 // what it says, and how it looks
    std::uint32_t weight = 0;               // characters of text
    std::uint32_t paragraph = 0;            // the number of its first paragraph in the part, from 1
    std::vector<pugi::xml_node> leading{};  // markers at block level just before it
    std::uint64_t control = 0;              // Control: what tells it apart (its tag and title)
    const Paragraph* content = nullptr;     // Paragraph: what it holds
    std::vector<Row> rows;                  // Table (no initializer: Row is not complete here)
    std::shared_ptr<const Story> inside{};  // Control: the blocks of its content
};

struct Cell {
    pugi::xml_node node;  // the w:tc
    pugi::xml_node tr;    // the row it stands in
    Story story;
    std::uint32_t paragraph = 0;  // the number of its first paragraph in the part, from 1
};

struct Row {
    pugi::xml_node node;  // the table's child: the row, or a content control around it
    pugi::xml_node tr;    // the row itself
    std::uint64_t text = 0, look = 0;
    std::vector<Cell> cells{};
    std::uint32_t paragraph = 0;
    Revision mark{};  // the row's own mark, where each of its rows carries one
    // Its cells and the content controls around it and them: rows of different shapes are
    // never compared inside, as no tracked change adds or removes a control.
    int shape = 0;
};

}  // namespace redline
