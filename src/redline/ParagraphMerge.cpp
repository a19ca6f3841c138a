// One paragraph that shows how another became it: the words of both, diffed, cleaned up so
// that changed words stay whole and nearby changes join, and written as runs marked inserted,
// deleted or reformatted, inside the hyperlinks they belong to.
#include <algorithm>
#include <cstring>
#include <optional>

#include "redline/BlockText.h"
#include "redline/Diff.h"
#include "redline/Units.h"
#include "redline/Words.h"
#include "redline/Writer.h"
#include "redline/Xml.h"

namespace redline {

namespace {

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
            if (!before || !context_.options.formatting || piece.kind == PieceKind::Nodes) {
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
    if (!context.options.formatting ||
        CanonicalParagraphProperties(a.node) == CanonicalParagraphProperties(b.node)) {
        return;
    }
    pugi::xml_node change = PropertiesOf(paragraph, "w:pPr").append_child("w:pPrChange");
    const int since = context.stamp.peek();
    context.stamp.on(change);
    pugi::xml_node old = change.append_child("w:pPr");
    for (const pugi::xml_node& child : a.node.child("w:pPr").children()) {
        const std::string_view name = child.name();
        if (name != "w:rPr" && name != "w:sectPr" && name != "w:pPrChange") old.append_copy(child);
    }
    context.adopt.adopt(old);
    context.record({ChangeKind::Formatting, part, VisibleText(b.stream), aNumber, bNumber}, since);
}

// How one word became another, character by character, in bytes of each; none when they share
// less than half their characters, and read better as one word gone and another come.
Script CharacterDifference(std::string_view a, std::string_view b) {
    // Each character as one key, its bytes remembered, so that no edit splits a character.
    auto characters = [](std::string_view word, Keys& keys, std::vector<std::uint32_t>& sizes) {
        for (std::size_t at = 0; at < word.size();) {
            std::size_t length = 1;
            while (at + length < word.size() &&
                   (static_cast<unsigned char>(word[at + length]) & 0xC0) == 0x80) {
                ++length;
            }
            std::uint32_t key = 0;
            for (std::size_t k = 0; k < length; ++k)
                key = key << 8 | static_cast<unsigned char>(word[at + k]);
            keys.push_back(key);
            sizes.push_back(static_cast<std::uint32_t>(length));
            at += length;
        }
    };
    Keys keysA, keysB;
    std::vector<std::uint32_t> sizesA, sizesB;
    characters(a, keysA, sizesA);
    characters(b, keysB, sizesB);
    const Script script = Difference(keysA, keysB);
    std::size_t same = 0;
    for (const Edit& edit : script) {
        if (edit.kind == EditKind::Equal) same += edit.count;
    }
    if (2 * same < std::max(keysA.size(), keysB.size())) return {};
    Script bytes;
    std::size_t x = 0, y = 0;
    for (const Edit& edit : script) {
        std::uint32_t count = 0;
        for (std::uint32_t k = 0; k < edit.count; ++k) {
            count += edit.kind == EditKind::Insert ? sizesB[y + k] : sizesA[x + k];
        }
        if (edit.kind != EditKind::Insert) x += edit.count;
        if (edit.kind != EditKind::Delete) y += edit.count;
        bytes.push_back({edit.kind, count});
    }
    return bytes;
}

// Writes a merged paragraph edit by edit: `i` and `j` count the units of each side written.
struct ParagraphWriter {
    const ParagraphContent &a, &b;
    const Units &unitsA, &unitsB;
    Emitter emitter;
    WriteContext& context;
    Part part;
    std::uint32_t aNumber, bNumber;
    std::uint32_t i = 0, j = 0;

    static std::uint32_t Position(const Units& units, const std::string& stream,
                                  std::uint32_t unit) {
        return unit < units.spans.size() ? units.spans[unit].begin
                                         : static_cast<std::uint32_t>(stream.size());
    }
    std::uint32_t atA(std::uint32_t unit) const { return Position(unitsA, a.stream, unit); }
    std::uint32_t atB(std::uint32_t unit) const { return Position(unitsB, b.stream, unit); }

    // Equal units: written from the revised side, told apart from the original's formatting
    // where each pair of units is as long on both sides (blanks or case alike may make them
    // differ, and then only what they say counts).
    void equal(std::uint32_t count) {
        std::uint32_t from = 0;
        auto stretch = [&](std::uint32_t to, bool compare) {
            if (from == to) return;
            std::string reformatted;
            const int since = context.stamp.peek();
            emitter.emit(b, atB(j + from), atB(j + to), false, std::nullopt, compare ? &a : nullptr,
                         atA(i + from), &reformatted);
            if (!reformatted.empty()) {
                context.record({ChangeKind::Formatting, part, reformatted, aNumber, bNumber},
                               since);
            }
            from = to;
        };
        if (context.revised.keys().like().any()) {
            for (std::uint32_t k = 0; k < count; ++k) {
                const WordSpan &spanA = unitsA.spans[i + k], &spanB = unitsB.spans[j + k];
                if (spanA.end - spanA.begin == spanB.end - spanB.begin) continue;
                stretch(k, true);
                stretch(k + 1, false);
            }
        }
        stretch(count, true);
        i += count;
        j += count;
    }

    void deleted(std::uint32_t count) {
        const int since = context.stamp.peek();
        emitter.emit(a, atA(i), atA(i + count), true, Mark::Delete);
        context.record({ChangeKind::Deletion, part, Excerpt(a, unitsA, i, count), aNumber, 0},
                       since);
        i += count;
    }

    void inserted(std::uint32_t count) {
        const int since = context.stamp.peek();
        emitter.emit(b, atB(j), atB(j + count), false, Mark::Insert);
        context.record({ChangeKind::Insertion, part, Excerpt(b, unitsB, j, count), 0, bNumber},
                       since);
        j += count;
    }

    // `count` units went and as many came: each word that changed in part shows only the
    // characters that changed; the others go and come whole.
    void wordByWord(std::uint32_t count) {
        for (std::uint32_t k = 0; k < count; ++k) {
            if (unitsA.keys[i] == unitsB.keys[j]) {
                equal(1);
                continue;
            }
            const std::string_view wordA(a.stream.data() + atA(i), atA(i + 1) - atA(i));
            const std::string_view wordB(b.stream.data() + atB(j), atB(j + 1) - atB(j));
            const Script script = unitsA.objects[i] || unitsB.objects[j]
                                      ? Script{}
                                      : CharacterDifference(wordA, wordB);
            if (script.empty()) {
                deleted(1);
                inserted(1);
                continue;
            }
            characters(script);
        }
    }

  private:
    // Writes the one word of each side at `i` and `j` as the characters' script says.
    void characters(const Script& script) {
        std::uint32_t x = atA(i), y = atB(j);
        for (const Edit& edit : script) {
            const int since = context.stamp.peek();
            if (edit.kind == EditKind::Equal) {
                std::string reformatted;
                emitter.emit(b, y, y + edit.count, false, std::nullopt, &a, x, &reformatted);
                if (!reformatted.empty()) {
                    context.record({ChangeKind::Formatting, part, reformatted, aNumber, bNumber},
                                   since);
                }
                x += edit.count;
                y += edit.count;
            } else if (edit.kind == EditKind::Delete) {
                emitter.emit(a, x, x + edit.count, true, Mark::Delete);
                context.record({ChangeKind::Deletion, part,
                                std::string(a.stream.substr(x, edit.count)), aNumber, 0},
                               since);
                x += edit.count;
            } else {
                emitter.emit(b, y, y + edit.count, false, Mark::Insert);
                context.record({ChangeKind::Insertion, part,
                                std::string(b.stream.substr(y, edit.count)), 0, bNumber},
                               since);
                y += edit.count;
            }
        }
        ++i;
        ++j;
    }
};

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

    ParagraphWriter writer{a,       b,    unitsA,  unitsB, Emitter(paragraph, context),
                           context, part, aNumber, bNumber};
    const bool characters = context.options.characterLevel && !whole;
    for (std::size_t e = 0; e < script.size(); ++e) {
        const Edit& edit = script[e];
        if (edit.kind == EditKind::Equal) {
            writer.equal(edit.count);
        } else if (characters && edit.kind == EditKind::Delete && e + 1 < script.size() &&
                   script[e + 1].kind == EditKind::Insert && script[e + 1].count == edit.count) {
            writer.wordByWord(edit.count);  // as many words went as came: compare each
            ++e;
        } else if (edit.kind == EditKind::Delete) {
            writer.deleted(edit.count);
        } else {
            writer.inserted(edit.count);
        }
    }
    writer.emitter.finish(b);
    return paragraph;
}

}  // namespace redline
