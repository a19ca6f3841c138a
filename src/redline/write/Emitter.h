// Writing runs into one merged paragraph: text and objects of either side, marked inserted or
// deleted or told apart from the original's formatting, inside the hyperlinks they belong to.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "redline/read/Paragraph.h"
#include "redline/write/Writer.h"

namespace redline {

// The first piece that ends at or after `from`: pieces lie in stream order, their ends too.
std::span<const Inline>::iterator FirstReaching(std::span<const Inline> pieces, std::int64_t from);

// Writes runs into one paragraph, opening a hyperlink or a content control again wherever its
// content continues.
class Emitter {
  public:
    Emitter(pugi::xml_node paragraph, WriteContext& context)
        : paragraph_(paragraph), context_(context) {}

    // Text and objects of `side` between `from` and `to`; `mark` for a deletion or insertion,
    // `before` the original's side of an equal stretch, to tell reformatting.
    void emit(const Paragraph& side, std::uint32_t from, std::uint32_t to, bool original,
              std::optional<Mark> mark, const Paragraph* before = nullptr,
              std::uint32_t beforeFrom = 0, std::string* reformatted = nullptr);

    // The revised side's markers at the very end of the paragraph, after those of the
    // `original`'s comments that come along.
    void finish(const Paragraph& side, const Paragraph* original = nullptr);
    // A range mark or reference of the original's comment that comes along as `id`.
    void originalMarker(const Inline& piece, const std::string& id);
    // The revised side's markers at `at`, now rather than with what follows them: an original
    // comment's range that ends there ends after them, as a reply's ends after its comment's.
    void revisedMarkersAt(const Paragraph& side, std::uint32_t at);
    // Whether the marker closes a range or is a comment's reference: one that follows the
    // revised side's marks where both stand at one place.
    static bool Closing(const Inline& marker);

  private:
    // Tells the context of an object kept or inserted, as the copy now in the result.
    void tell(const Inline& piece, const pugi::xml_node& copy, std::optional<Mark> mark,
              const Paragraph* before, std::int64_t shift);

    // Where the piece's runs go: the paragraph, or the link or content control they belong to,
    // opened again where its content continues.
    pugi::xml_node target(const Inline& piece, bool original);

    // Answers the copy of the object written (the first node of a range), or none for text.
    pugi::xml_node write(const Inline& piece, std::uint32_t begin, std::uint32_t end,
                         std::string_view stream, bool original, std::optional<Mark> mark,
                         const pugi::xml_node& oldProperties, bool reformat = false);

    void marker(const Inline& piece);

    // Whether the piece is all the text of its run, which can then go into the result whole.
    static bool MovesWhole(const Inline& piece, std::string_view stream);
    // Whether the original, shifted by `shift`, is formatted as the piece throughout.
    static bool LooksAlike(const Inline& piece, const Paragraph& before, std::int64_t shift);

    pugi::xml_node paragraph_;
    WriteContext& context_;
    pugi::xml_node openSource_, open_;
    std::uint32_t openLink_ = 0;
    std::uint32_t markersDoneAt_ = ~0u;  // where the revised side's markers went in already
};

}  // namespace redline
