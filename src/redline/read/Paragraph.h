// A paragraph as the comparison sees it: its content as one stream of text, in which a picture,
// a field, a tab or any other thing that is not text stands as one character (kObjectMark), and
// for every stretch of the stream the place in the XML it comes from.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "redline/read/Canonical.h"

namespace redline {

// What the comparison takes as alike beyond equal text.
struct Likeness {
    bool caseless = false;  // letters of either case
    bool blanks = false;    // any run of spaces, tabs and no-break spaces
    bool anyField = false;  // every field, whatever its code and what it shows
    bool any() const { return caseless || blanks; }
};

// Interns texts as small numbers, shared by both documents, so that equal texts compare equal.
class KeyTable {
  public:
    explicit KeyTable(Likeness like = {}) : like_(like) {}
    std::uint32_t key(std::string_view text);
    const Likeness& like() const { return like_; }

    // While one lives, the table may be asked from several threads at once; it is made and let
    // go where only one thread asks.
    class Shared {
      public:
        explicit Shared(KeyTable& table) : table_(table) { ++table_.shared_; }
        ~Shared() { --table_.shared_; }
        Shared(const Shared&) = delete;
        Shared& operator=(const Shared&) = delete;

      private:
        KeyTable& table_;
    };

  private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> keys_;
    Likeness like_;
    int shared_ = 0;  // how many Shared live: they may nest
    std::mutex mutex_;
};

enum class PieceKind : std::uint8_t {
    Text,     // characters of a w:t
    Element,  // one child of a run that is not text: w:tab, w:br, w:drawing, w:sym, ...
    Nodes,    // sibling nodes compared as one unit: a field, an equation, a content control
    Marker,   // takes no place: a bookmark, a comment's range; kept from the revised side only
};

struct Piece {
    PieceKind kind;
    std::uint32_t begin = 0, end = 0;  // in the stream
    pugi::xml_node node{};             // the w:t, the element, the first node, or the marker
    pugi::xml_node last{};             // Nodes: the last sibling of the range
    pugi::xml_node run{};              // Text, Element: the w:r it sits in
    pugi::xml_node wrapper{};          // the w:hyperlink it sits in, or none
    std::uint32_t object = 0;          // Element, Nodes: the key of what it is
    std::uint32_t link = 0;            // the key of the link's target it sits in, or 0
};

struct ParagraphContent {
    pugi::xml_node node;  // the w:p
    std::string stream;
    std::vector<Piece> pieces;
    // The object key of the stream's character at `at` (a kObjectMark), or 0.
    std::uint32_t objectAt(std::uint32_t at) const;
    // The element (a w:tab, a w:drawing) that stands at `at`, or none.
    pugi::xml_node elementAt(std::uint32_t at) const;
    // The key of the link that the stream's character at `at` sits in, or 0.
    std::uint32_t linkAt(std::uint32_t at) const;
};

// What a content key needs to know of things outside the paragraph: the content of a picture
// that a relationship names, or of a note that a reference names.
class ObjectKeys {
  public:
    virtual ~ObjectKeys() = default;
    // A key for the element or node range, such that equal things get equal keys.
    virtual std::string describe(const pugi::xml_node& node) = 0;
};

ParagraphContent ReadParagraph(const pugi::xml_node& paragraph, KeyTable& keys,
                               ObjectKeys& objects);

// Hashes for the comparison: of the text as `keys` compares it, and of that with its formatting.
std::uint64_t TextHash(const ParagraphContent& content, KeyTable& keys);
std::uint64_t LookHash(const ParagraphContent& content, std::uint64_t textHash);

// The stream's text as a reader sees it, with each object as "\u25A1" (for change reports).
std::string VisibleText(std::string_view stream);

}  // namespace redline
