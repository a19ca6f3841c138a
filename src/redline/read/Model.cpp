#include "redline/read/Model.h"

#include <algorithm>

#include "redline/io/Xml.h"
#include "redline/read/Paragraph.h"
#include "redline/read/ShownText.h"
#include "redline/read/Words.h"

namespace redline {

namespace {

// The inline that holds the stream's character at `at`: inlines lie in stream order.
const Inline* InlineHolding(std::span<const Inline> inlines, std::uint32_t at) {
    auto found = std::upper_bound(inlines.begin(), inlines.end(), at,
                                  [](std::uint32_t at, const Inline& p) { return at < p.begin; });
    while (found != inlines.begin()) {
        --found;
        if (found->begin <= at && at < found->end) return &*found;
        if (found->end <= at) break;
    }
    return nullptr;
}

}  // namespace

int Revision::id() const {
    return node.attribute("w:id").as_int();
}

std::string Revision::author() const {
    return Attribute(node, "w:author");
}

std::string Revision::date() const {
    return Attribute(node, "w:date");
}

std::string_view Paragraph::textOf(const Inline& inline_) const {
    if (inline_.place == Place::Text) {
        return std::string_view(stream).substr(inline_.begin, inline_.end - inline_.begin);
    }
    return std::string_view(shown).substr(inline_.shownBegin,
                                          inline_.shownEnd - inline_.shownBegin);
}

std::uint32_t Paragraph::objectAt(std::uint32_t at) const {
    const Inline* piece = InlineHolding(inlines, at);
    return piece && piece->end == at + 1 ? piece->object : 0;
}

const Inline* Paragraph::inlineAt(std::uint32_t at) const {
    return InlineHolding(inlines, at);
}

std::uint32_t Paragraph::linkAt(std::uint32_t at) const {
    const Inline* piece = InlineHolding(inlines, at);
    return piece ? piece->link : 0;
}

std::string ReaderText(const Paragraph& content, std::uint32_t from, std::uint32_t to) {
    std::string text;
    for (std::uint32_t at = from; at < to; ++at) {
        if (content.stream[at] != kObjectMark) {
            text += content.stream[at];
            continue;
        }
        const Inline* object = content.inlineAt(at);
        const std::string_view shown = object ? content.textOf(*object) : std::string_view();
        text += shown.empty() ? std::string_view(kNothingShown) : shown;
    }
    return text;
}

std::string ReaderText(const Paragraph& content) {
    return ReaderText(content, 0, static_cast<std::uint32_t>(content.stream.size()));
}

}  // namespace redline
