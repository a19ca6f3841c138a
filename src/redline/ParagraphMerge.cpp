// One paragraph that shows how another became it: the words of both, diffed, cleaned up so
// that changed words stay whole and nearby changes join, and written as runs marked inserted,
// deleted or reformatted, inside the hyperlinks they belong to.
#include <algorithm>
#include <cstring>
#include <optional>

#include "redline/BlockText.h"
#include "redline/Diff.h"
#include "redline/Words.h"
#include "redline/Writer.h"
#include "redline/Xml.h"

namespace redline {

namespace {

struct Units {
    std::vector<WordSpan> spans;
    Keys keys;
    std::vector<std::uint32_t> weights;
    std::vector<bool> light;
    std::vector<bool> objects;  // a picture, field, note reference or other thing, not a word
};

Units UnitsOf(const ParagraphContent& content, KeyTable& table) {
    Units units;
    units.spans = SplitWords(content.stream);
    for (const WordSpan& span : units.spans) {
        const std::string_view text(content.stream.data() + span.begin, span.end - span.begin);
        if (text.size() == 1 && text[0] == kObjectMark) {
            units.keys.push_back(table.key("\x01" + std::to_string(content.objectAt(span.begin))));
            units.weights.push_back(4);
            units.light.push_back(false);
            units.objects.push_back(true);
            continue;
        }
        units.objects.push_back(false);
        const std::uint32_t link = content.linkAt(span.begin);
        units.keys.push_back(link ? table.key(std::string(text) + "\x03" + std::to_string(link))
                                  : table.key(text));
        units.weights.push_back(static_cast<std::uint32_t>(text.size()));
        units.light.push_back(!HoldsLetters(text));
    }
    return units;
}

// The first piece that ends at or after `from`: pieces lie in stream order, their ends too.
std::vector<Piece>::const_iterator FirstReaching(const std::vector<Piece>& pieces,
                                                 std::int64_t from) {
    return std::lower_bound(
        pieces.begin(), pieces.end(), from,
        [](const Piece& piece, std::int64_t at) { return std::int64_t(piece.end) < at; });
}

// Writes runs into one paragraph, opening a hyperlink again wherever its content continues.
class Emitter {
  public:
    Emitter(pugi::xml_node paragraph, WriteContext& context)
        : paragraph_(paragraph), context_(context) {}

    // Text and objects of `side` between `from` and `to`; `mark` for a deletion or insertion,
    // `before` the original's side of an equal stretch, to tell reformatting.
    void emit(const ParagraphContent& side, std::uint32_t from, std::uint32_t to, bool original,
              std::optional<Mark> mark, const ParagraphContent* before = nullptr,
              std::uint32_t beforeFrom = 0, std::string* reformatted = nullptr) {
        // Only the pieces that reach into the stretch: emitting stays linear in a paragraph's
        // pieces, however many runs it has.
        for (auto at = FirstReaching(side.pieces, from); at != side.pieces.end() && at->begin < to;
             ++at) {
            const Piece& piece = *at;
            if (piece.kind == PieceKind::Marker) {
                if (!original && piece.begin >= from) marker(piece);
                continue;
            }
            const std::uint32_t begin = std::max(piece.begin, from), end = std::min(piece.end, to);
            if (begin >= end) continue;
            if (!before || !context_.formatting || piece.kind == PieceKind::Nodes) {
                const pugi::xml_node copy =
                    write(piece, begin, end, side.stream, original, mark, {});
                tell(piece, copy, mark, before, std::int64_t(from) - std::int64_t(beforeFrom));
                continue;
            }
            // Split where the original's formatting changes, and record each difference.
            const std::int64_t shift = std::int64_t(from) - std::int64_t(beforeFrom);
            for (auto at = FirstReaching(before->pieces, begin - shift);
                 at != before->pieces.end() && std::int64_t(at->begin) + shift < end; ++at) {
                const Piece& old = *at;
                if (old.kind == PieceKind::Marker || old.kind == PieceKind::Nodes) continue;
                // The original's stretch in this side's positions.
                const std::int64_t oldBegin = old.begin + shift, oldEnd = old.end + shift;
                // Compared before narrowing: a stretch of the original before this one lies
                // at negative positions here, and must not wrap round to a huge one.
                const std::int64_t from64 = std::max<std::int64_t>(begin, oldBegin);
                const std::int64_t to64 = std::min<std::int64_t>(end, oldEnd);
                if (from64 >= to64) continue;
                const auto b = static_cast<std::uint32_t>(from64);
                const auto e = static_cast<std::uint32_t>(to64);
                const pugi::xml_node oldProperties = old.run.child("w:rPr");
                const bool changed = CanonicalProperties(oldProperties) !=
                                     CanonicalProperties(piece.run.child("w:rPr"));
                const pugi::xml_node copy =
                    write(piece, b, e, side.stream, original, mark,
                          changed ? oldProperties : pugi::xml_node(), changed);
                tell(piece, copy, mark, before, shift);
                if (changed && reformatted)
                    reformatted->append(VisibleText(side.stream.substr(b, e - b)));
            }
        }
    }

    // The revised side's markers at the very end of the paragraph.
    void finish(const ParagraphContent& side) {
        for (const Piece& piece : side.pieces) {
            if (piece.kind == PieceKind::Marker && piece.begin >= side.stream.size()) marker(piece);
        }
    }

  private:
    // Tells the context of an object kept or inserted, as the copy now in the result.
    void tell(const Piece& piece, const pugi::xml_node& copy, std::optional<Mark> mark,
              const ParagraphContent* before, std::int64_t shift) {
        if (!context_.inside || piece.kind == PieceKind::Text || !copy) return;
        if (mark == Mark::Insert) {
            context_.inside->inserted(copy);
        } else if (!mark && before) {
            const std::int64_t place = std::int64_t(piece.begin) - shift;
            for (auto at = FirstReaching(before->pieces, place);
                 at != before->pieces.end() && std::int64_t(at->begin) <= place; ++at) {
                if (at->object && std::int64_t(at->begin) == place) {
                    context_.inside->kept(at->node, copy);
                }
            }
        }
    }

    pugi::xml_node target(const pugi::xml_node& wrapper, bool original) {
        if (!wrapper) {
            openSource_ = {};
            return paragraph_;
        }
        if (wrapper != openSource_) {
            open_ = paragraph_.append_child(wrapper.name());
            for (const pugi::xml_attribute& attribute : wrapper.attributes()) {
                open_.append_attribute(attribute.name()) = attribute.value();
            }
            if (original) context_.adopt.adopt(open_);
            openSource_ = wrapper;
        }
        return open_;
    }

    // Answers the copy of the object written (the first node of a range), or none for text.
    pugi::xml_node write(const Piece& piece, std::uint32_t begin, std::uint32_t end,
                         const std::string& stream, bool original, std::optional<Mark> mark,
                         const pugi::xml_node& oldProperties, bool reformat = false) {
        pugi::xml_node parent = target(piece.wrapper, original);
        if (piece.kind == PieceKind::Nodes) {
            pugi::xml_node first;
            for (pugi::xml_node node = piece.node;; node = node.next_sibling()) {
                pugi::xml_node copy = parent.append_copy(node);
                if (!first) first = copy;
                if (original) context_.adopt.adopt(copy);
                if (mark) MarkRuns(copy, *mark, context_.stamp);
                if (node == piece.last) break;
            }
            return first;
        }
        pugi::xml_node run = parent.append_child("w:r");
        if (const pugi::xml_node properties = piece.run.child("w:rPr")) {
            pugi::xml_node copy = run.append_copy(properties);
            if (original) context_.adopt.adopt(copy);
        }
        pugi::xml_node object;
        if (piece.kind == PieceKind::Text) {
            pugi::xml_node text = run.append_child("w:t");
            text.append_attribute("xml:space") = "preserve";
            text.text().set(stream.substr(begin, end - begin).c_str());
        } else {
            object = run.append_copy(piece.node);
            if (original) context_.adopt.adopt(object);
        }
        if (reformat) {
            pugi::xml_node change = PropertiesOf(run, "w:rPr").append_child("w:rPrChange");
            context_.stamp.on(change);
            pugi::xml_node old = change.append_child("w:rPr");
            for (const pugi::xml_node& child : oldProperties.children()) {
                if (std::strcmp(child.name(), "w:rPrChange") != 0) old.append_copy(child);
            }
            context_.adopt.adopt(old);
        }
        if (mark) MarkRun(run, *mark, context_.stamp);
        return object;
    }

    void marker(const Piece& piece) {
        pugi::xml_node parent = target(piece.wrapper, false);
        if (!piece.run) {
            parent.append_copy(piece.node);
            return;
        }
        pugi::xml_node run = parent.append_child("w:r");
        if (const pugi::xml_node properties = piece.run.child("w:rPr")) run.append_copy(properties);
        run.append_copy(piece.node);
    }

    pugi::xml_node paragraph_;
    WriteContext& context_;
    pugi::xml_node openSource_, open_;
};

// The text a change covers, as a reader sees it: an object shows the text it holds (a field its
// result, a content control its content), or a square when it holds none.
std::string Excerpt(const ParagraphContent& content, const Units& units, std::uint32_t first,
                    std::uint32_t count) {
    if (count == 0) return {};
    const std::uint32_t begin = units.spans[first].begin;
    const std::uint32_t end = units.spans[first + count - 1].end;
    std::string text;
    for (std::uint32_t at = begin; at < end; ++at) {
        if (content.stream[at] != kObjectMark) {
            text += content.stream[at];
            continue;
        }
        std::string inside;
        for (auto piece = FirstReaching(content.pieces, at);
             piece != content.pieces.end() && piece->begin <= at; ++piece) {
            if (piece->begin != at || !piece->object) continue;
            for (pugi::xml_node node = piece->node; node; node = node.next_sibling()) {
                if (Named(node, "w:t") || Named(node, "m:t")) {
                    inside += node.text().get();
                } else {
                    inside += ReportText(node);
                }
                if (node == piece->last || piece->kind != PieceKind::Nodes) break;
            }
        }
        text += inside.empty() ? VisibleText(std::string(1, kObjectMark)) : inside;
    }
    return text;
}

// Every word of one deleted and every word of the other inserted; only things that are not
// words (a note's reference, a field, a picture) stay in place where both have them.
Script Replacement(const Units& a, const Units& b) {
    Keys keysA = a.keys, keysB = b.keys;
    constexpr std::uint32_t kNoWord = 0x80000000u;  // keys of the table stay far below
    for (std::size_t i = 0; i < keysA.size(); ++i) {
        if (!a.objects[i]) keysA[i] = kNoWord + static_cast<std::uint32_t>(i);
    }
    for (std::size_t j = 0; j < keysB.size(); ++j) {
        if (!b.objects[j]) keysB[j] = kNoWord + static_cast<std::uint32_t>(keysA.size() + j);
    }
    return Difference(keysA, keysB);
}

// The revised paragraph's properties, with the original's as a change when they differ.
void WriteParagraphProperties(const ParagraphContent& a, const ParagraphContent& b,
                              pugi::xml_node paragraph, WriteContext& context, Part part,
                              std::uint32_t aNumber, std::uint32_t bNumber) {
    if (const pugi::xml_node properties = b.node.child("w:pPr")) paragraph.append_copy(properties);
    if (!context.formatting ||
        CanonicalParagraphProperties(a.node) == CanonicalParagraphProperties(b.node)) {
        return;
    }
    pugi::xml_node change = PropertiesOf(paragraph, "w:pPr").append_child("w:pPrChange");
    context.stamp.on(change);
    pugi::xml_node old = change.append_child("w:pPr");
    for (const pugi::xml_node& child : a.node.child("w:pPr").children()) {
        const std::string_view name = child.name();
        if (name != "w:rPr" && name != "w:sectPr" && name != "w:pPrChange") old.append_copy(child);
    }
    context.adopt.adopt(old);
    context.changes.push_back(
        {ChangeKind::Formatting, part, VisibleText(b.stream), aNumber, bNumber});
}

}  // namespace

pugi::xml_node MergeParagraphs(const ParagraphContent& a, const ParagraphContent& b,
                               WriteContext& context, Part part, std::uint32_t aNumber,
                               std::uint32_t bNumber, bool whole) {
    KeyTable& keys = context.revised.keys();
    const Units unitsA = UnitsOf(a, keys), unitsB = UnitsOf(b, keys);
    const Script script = whole ? Replacement(unitsA, unitsB)
                                : CleanUp(Difference(unitsA.keys, unitsB.keys), unitsA.weights,
                                          unitsB.weights, unitsA.light, unitsA.objects);
    pugi::xml_node paragraph = b.node.parent().insert_child_before("w:p", b.node);
    WriteParagraphProperties(a, b, paragraph, context, part, aNumber, bNumber);

    Emitter emitter(paragraph, context);
    std::uint32_t i = 0, j = 0;  // units of a and of b
    auto position = [](const Units& units, const std::string& stream, std::uint32_t unit) {
        return unit < units.spans.size() ? units.spans[unit].begin
                                         : static_cast<std::uint32_t>(stream.size());
    };
    for (const Edit& edit : script) {
        const std::uint32_t aFrom = position(unitsA, a.stream, i),
                            bFrom = position(unitsB, b.stream, j);
        if (edit.kind == EditKind::Equal) {
            const std::uint32_t bTo = position(unitsB, b.stream, j + edit.count);
            std::string reformatted;
            emitter.emit(b, bFrom, bTo, false, std::nullopt, &a, aFrom, &reformatted);
            if (!reformatted.empty()) {
                context.changes.push_back(
                    {ChangeKind::Formatting, part, reformatted, aNumber, bNumber});
            }
            i += edit.count;
            j += edit.count;
        } else if (edit.kind == EditKind::Delete) {
            emitter.emit(a, aFrom, position(unitsA, a.stream, i + edit.count), true, Mark::Delete);
            context.changes.push_back(
                {ChangeKind::Deletion, part, Excerpt(a, unitsA, i, edit.count), aNumber, 0});
            i += edit.count;
        } else {
            emitter.emit(b, bFrom, position(unitsB, b.stream, j + edit.count), false, Mark::Insert);
            context.changes.push_back(
                {ChangeKind::Insertion, part, Excerpt(b, unitsB, j, edit.count), 0, bNumber});
            j += edit.count;
        }
    }
    emitter.finish(b);
    return paragraph;
}

}  // namespace redline
