#include "redline/read/Units.h"

#include <string>

namespace redline {

namespace {

// Whether the unit at `span` is white space as the likeness sees it: blanks, or a tab.
bool Blank(const Paragraph& content, const WordSpan& span, const Likeness& like) {
    if (!like.blanks) return false;
    const std::string_view text(content.stream.data() + span.begin, span.end - span.begin);
    if (text.size() == 1 && text[0] == kObjectMark) {
        const Inline* object = content.inlineAt(span.begin);
        return object && object->place == Place::RunChild && object->kind == InlineKind::Tab;
    }
    return IsBlank(text);
}

void Erase(Units& units, std::size_t at) {
    units.spans.erase(units.spans.begin() + at);
    units.keys.erase(units.keys.begin() + at);
    units.weights.erase(units.weights.begin() + at);
    units.light.erase(units.light.begin() + at);
    units.objects.erase(units.objects.begin() + at);
}

// White space before a paragraph's first word or after its last counts as none: it joins that
// word, which keeps its key.
void EdgeBlanksJoinTheirNeighbours(Units& units, std::uint32_t blank) {
    auto isBlank = [&](std::size_t at) { return !units.objects[at] && units.keys[at] == blank; };
    if (units.spans.size() > 1 && isBlank(0)) {
        units.spans[1].begin = units.spans[0].begin;
        units.weights[1] += units.weights[0];
        Erase(units, 0);
    }
    const std::size_t last = units.spans.size() - 1;
    if (units.spans.size() > 1 && isBlank(last)) {
        units.spans[last - 1].end = units.spans[last].end;
        units.weights[last - 1] += units.weights[last];
        Erase(units, last);
    }
}

}  // namespace

Units UnitsOf(const Paragraph& content, KeyTable& table) {
    const Likeness& like = table.like();
    Units units;
    const std::vector<WordSpan> spans = SplitWords(content.stream);
    units.spans.reserve(spans.size());
    units.keys.reserve(spans.size());
    units.weights.reserve(spans.size());
    units.light.reserve(spans.size());
    units.objects.reserve(spans.size());
    // Most paragraphs hold no link: their words need no look for one.
    bool links = false;
    for (const Inline& piece : content.inlines) links |= piece.link != 0;
    for (const WordSpan& span : spans) {
        const std::string_view text(content.stream.data() + span.begin, span.end - span.begin);
        if (Blank(content, span, like)) {
            const bool joins = !units.spans.empty() && !units.objects.back() &&
                               units.light.back() && units.keys.back() == table.key(" ");
            if (joins) {
                units.spans.back().end = span.end;  // blanks and tabs in a row are one unit
                units.weights.back() += span.end - span.begin;
                continue;
            }
            units.spans.push_back(span);
            units.keys.push_back(table.key(" "));
            units.weights.push_back(span.end - span.begin);
            units.light.push_back(true);
            units.objects.push_back(false);
            continue;
        }
        units.spans.push_back(span);
        if (text.size() == 1 && text[0] == kObjectMark) {
            // An object is itself and where it links to, as a word is.
            const std::uint32_t link = links ? content.linkAt(span.begin) : 0;
            units.keys.push_back(table.key("\x01" + std::to_string(content.objectAt(span.begin)) +
                                           (link ? "\x03" + std::to_string(link) : "")));
            units.weights.push_back(4);
            units.light.push_back(false);
            units.objects.push_back(true);
            continue;
        }
        units.objects.push_back(false);
        const std::string folded = like.caseless ? FoldCase(text) : std::string();
        const std::string_view word = like.caseless ? std::string_view(folded) : text;
        const std::uint32_t link = links ? content.linkAt(span.begin) : 0;
        units.keys.push_back(link ? table.key(std::string(word) + "\x03" + std::to_string(link))
                                  : table.key(word));
        units.weights.push_back(static_cast<std::uint32_t>(text.size()));
        units.light.push_back(!HoldsLetters(text));
    }
    if (like.blanks) EdgeBlanksJoinTheirNeighbours(units, table.key(" "));
    return units;
}

}  // namespace redline
