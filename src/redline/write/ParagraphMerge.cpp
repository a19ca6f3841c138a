// One paragraph that shows how another became it: the words of both, diffed, cleaned up so
// that changed words stay whole and nearby changes join, and written as runs marked inserted,
// deleted or reformatted, inside the hyperlinks they belong to.
#include <algorithm>
#include <cstring>
#include <optional>

#include "redline/align/Diff.h"
#include "redline/io/BothAtOnce.h"
#include "redline/io/Elements.h"
#include "redline/io/Names.h"
#include "redline/io/Xml.h"
#include "redline/read/Canonical.h"
#include "redline/read/Paragraph.h"
#include "redline/read/Units.h"
#include "redline/read/Words.h"
#include "redline/write/Emitter.h"
#include "redline/write/Writer.h"

namespace redline {

namespace {

// The text a change covers, as a reader sees it: an object shows the text it holds (a field its
// result, a content control its content), or a square when it holds none.
std::string Excerpt(const Paragraph& content, const Units& units, std::uint32_t first,
                    std::uint32_t count) {
    if (count == 0) return {};
    return ReaderText(content, units.spans[first].begin, units.spans[first + count - 1].end);
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
void WriteParagraphProperties(const Paragraph& a, const Paragraph& b, pugi::xml_node paragraph,
                              WriteContext& context, Part part, std::uint32_t aNumber,
                              std::uint32_t bNumber) {
    if (const pugi::xml_node properties = b.node.child(w::pPr)) paragraph.append_copy(properties);
    if (!context.rules.formatting || a.look == b.look) {
        return;
    }
    pugi::xml_node change = PropertiesOf(paragraph, w::pPr).append_child(w::pPrChange);
    const int since = context.stamp.peek();
    context.stamp.on(change);
    pugi::xml_node old = change.append_child(w::pPr);
    for (const pugi::xml_node& child : a.node.child(w::pPr).children()) {
        const std::string_view name = child.name();
        if (name != w::rPr && name != w::sectPr && name != w::pPrChange) old.append_copy(child);
    }
    context.carry.carry(old);
    context.record({ChangeKind::Formatting, part, ReaderText(b), aNumber, bNumber}, since);
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
    const Paragraph &a, &b;
    const Units &unitsA, &unitsB;
    Emitter emitter;
    WriteContext& context;
    Part part;
    std::uint32_t aNumber, bNumber;
    std::uint32_t i = 0, j = 0;

    static std::uint32_t Position(const Units& units, std::string_view stream, std::uint32_t unit) {
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
            keep(atB(j + from), atB(j + to), compare, atA(i + from), atA(i + to));
            from = to;
        };
        if (context.keys.like().any()) {
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
        remove(atA(i), atA(i + count), Excerpt(a, unitsA, i, count));
        i += count;
    }

    void inserted(std::uint32_t count) {
        add(atB(j), atB(j + count), Excerpt(b, unitsB, j, count));
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
            // A word whose link changed goes and comes whole: kept characters would keep the
            // revised link, and rejecting would not bring the original's back.
            const std::uint32_t linkA = LinkOfWord(a, atA(i), atA(i + 1));
            const bool sameLink =
                linkA != kMixedLinks && linkA == LinkOfWord(b, atB(j), atB(j + 1));
            const Script script = unitsA.objects[i] || unitsB.objects[j] || !sameLink
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
    static constexpr std::uint32_t kMixedLinks = ~0u;
    // The key of the link that the bytes `from` to `to` sit in, 0 for none, or kMixedLinks.
    static std::uint32_t LinkOfWord(const Paragraph& content, std::uint32_t from,
                                    std::uint32_t to) {
        const std::uint32_t link = content.linkAt(from);
        for (std::uint32_t at = from + 1; at < to; ++at) {
            if (content.linkAt(at) != link) return kMixedLinks;
        }
        return link;
    }

    // The revised side's bytes `from` to `to`, unmarked; with `compare`, told apart from the
    // original's formatting from `fromA` on.
    void keep(std::uint32_t from, std::uint32_t to, bool compare, std::uint32_t fromA,
              std::uint32_t toA) {
        // The original's marks of comments the result no longer has go where they stood.
        if (context.comments) {
            for (auto at = FirstReaching(a.inlines, fromA);
                 at != a.inlines.end() && at->begin < toA; ++at) {
                if (at->place != Place::Marker || at->begin < fromA) continue;
                const std::string id = context.carriedComment(at->node);
                if (id.empty()) continue;
                const std::uint32_t here = std::min(to, from + (at->begin - fromA));
                keepPlain(from, here, compare, fromA);
                fromA += here - from;
                from = here;
                if (Emitter::Closing(*at)) emitter.revisedMarkersAt(b, here);
                emitter.originalMarker(*at, id);
            }
        }
        keepPlain(from, to, compare, fromA);
    }

    void keepPlain(std::uint32_t from, std::uint32_t to, bool compare, std::uint32_t fromA) {
        if (from == to) return;
        std::string reformatted;
        const int since = context.stamp.peek();
        emitter.emit(b, from, to, false, std::nullopt, compare ? &a : nullptr, fromA, &reformatted);
        if (!reformatted.empty()) {
            context.record({ChangeKind::Formatting, part, reformatted, aNumber, bNumber}, since);
        }
    }

    // The original's bytes `from` to `to`, marked deleted and reported as `text`.
    void remove(std::uint32_t from, std::uint32_t to, std::string text) {
        const int since = context.stamp.peek();
        emitter.emit(a, from, to, true, Mark::Delete);
        context.record({ChangeKind::Deletion, part, std::move(text), aNumber, 0}, since);
    }

    // The revised side's bytes `from` to `to`, marked inserted and reported as `text`.
    void add(std::uint32_t from, std::uint32_t to, std::string text) {
        const int since = context.stamp.peek();
        emitter.emit(b, from, to, false, Mark::Insert);
        context.record({ChangeKind::Insertion, part, std::move(text), 0, bNumber}, since);
    }

    // Writes the one word of each side at `i` and `j` as the characters' script says.
    void characters(const Script& script) {
        std::uint32_t x = atA(i), y = atB(j);
        for (const Edit& edit : script) {
            if (edit.kind == EditKind::Equal) {
                keep(y, y + edit.count, true, x, x + edit.count);
                x += edit.count;
                y += edit.count;
            } else if (edit.kind == EditKind::Delete) {
                remove(x, x + edit.count, std::string(a.stream.substr(x, edit.count)));
                x += edit.count;
            } else {
                add(y, y + edit.count, std::string(b.stream.substr(y, edit.count)));
                y += edit.count;
            }
        }
        ++i;
        ++j;
    }
};

}  // namespace

MergePlan PlanMerge(const Paragraph* a, const Paragraph* b, KeyTable& words, bool whole) {
    MergePlan plan{.a = a, .b = b};
    auto unitsA = [&] { plan.unitsA = UnitsOf(*plan.a, words); };
    auto unitsB = [&] { plan.unitsB = UnitsOf(*plan.b, words); };
    // Long paragraphs (a run per word) are cut into units on both cores: the key table takes
    // turns.
    constexpr std::size_t kWorthAThread = 1 << 15;  // characters
    if (plan.a->stream.size() + plan.b->stream.size() >= kWorthAThread) {
        KeyTable::Shared shared(words);
        BothAtOnce(unitsA, unitsB);
    } else {
        unitsA();
        unitsB();
    }
    plan.script = whole
                      ? Replacement(plan.unitsA, plan.unitsB)
                      : CleanUp(Difference(plan.unitsA.keys, plan.unitsB.keys), plan.unitsA.weights,
                                plan.unitsB.weights, plan.unitsA.light, plan.unitsA.objects);
    plan.whole = whole;
    return plan;
}

pugi::xml_node MergeParagraphs(const MergePlan& plan, WriteContext& context, Part part,
                               std::uint32_t aNumber, std::uint32_t bNumber) {
    const Paragraph &a = *plan.a, &b = *plan.b;
    const Script& script = plan.script;
    pugi::xml_node paragraph = b.node.parent().insert_child_before(w::p, b.node);
    // The paragraph stays the revised one's: its id too, which a comment's replies name.
    for (const pugi::xml_attribute& attribute : b.node.attributes()) {
        paragraph.append_attribute(attribute.name()) = attribute.value();
    }
    WriteParagraphProperties(a, b, paragraph, context, part, aNumber, bNumber);

    ParagraphWriter writer{a,       b,    plan.unitsA, plan.unitsB, Emitter(paragraph, context),
                           context, part, aNumber,     bNumber};
    const bool characters = context.rules.characterLevel && !plan.whole;
    for (std::size_t e = 0; e < script.size(); ++e) {
        const Edit& edit = script[e];
        if (edit.kind == EditKind::Equal) {
            writer.equal(edit.count);
        } else if (characters && edit.kind == EditKind::Delete && e + 1 < script.size() &&
                   script[e + 1].kind == EditKind::Insert && script[e + 1].count == edit.count) {
            writer.wordByWord(edit.count);  // as many words went as came: compare each
            ++e;
        } else if (edit.kind == EditKind::Delete) {
            // Words replaced: the revised side's marks before the new words stood before the
            // old ones too (a comment's range that opens on the replaced word holds both).
            if (e + 1 < script.size() && script[e + 1].kind == EditKind::Insert) {
                writer.emitter.revisedMarkersAt(b, writer.atB(writer.j));
            }
            writer.deleted(edit.count);
        } else {
            writer.inserted(edit.count);
        }
    }
    writer.emitter.finish(b, &a);
    return paragraph;
}

}  // namespace redline
