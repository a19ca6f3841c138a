#include "redline/write/Emitter.h"
#include "redline/io/Names.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "redline/io/Xml.h"
#include "redline/read/Canonical.h"
#include "redline/write/Marks.h"

namespace redline {

std::span<const Inline>::iterator FirstReaching(std::span<const Inline> pieces, std::int64_t from) {
    return std::lower_bound(
        pieces.begin(), pieces.end(), from,
        [](const Inline& piece, std::int64_t at) { return std::int64_t(piece.end) < at; });
}

void Emitter::emit(const Paragraph& side, std::uint32_t from, std::uint32_t to, bool original,
                   std::optional<Mark> mark, const Paragraph* before, std::uint32_t beforeFrom,
                   std::string* reformatted) {
    // Only the pieces that reach into the stretch: emitting stays linear in a paragraph's
    // pieces, however many runs it has.
    for (auto at = FirstReaching(side.inlines, from); at != side.inlines.end() && at->begin < to;
         ++at) {
        const Inline& piece = *at;
        if (piece.place == Place::Marker) {
            if (piece.begin < from) continue;
            if (!original) {
                if (piece.begin != markersDoneAt_) marker(piece);
            } else if (const std::string id = context_.carriedComment(piece.node); !id.empty()) {
                originalMarker(piece, id);
            }
            continue;
        }
        const std::uint32_t begin = std::max(piece.begin, from), end = std::min(piece.end, to);
        if (begin >= end) continue;
        if (!original && !mark && begin == piece.begin && end == piece.end &&
            MovesWhole(piece, side.stream) &&
            (!before || !context_.rules.formatting ||
             LooksAlike(piece, *before, std::int64_t(from) - std::int64_t(beforeFrom)))) {
            // A run of the revised side kept whole and as it looks goes into the result as it
            // is: the paragraph it stood in is let go once merged.
            target(piece, false).append_move(piece.run);
            continue;
        }
        if (!before || !context_.rules.formatting || piece.place == Place::Range) {
            const pugi::xml_node copy = write(piece, begin, end, side.stream, original, mark, {});
            tell(piece, copy, mark, before, std::int64_t(from) - std::int64_t(beforeFrom));
            continue;
        }
        // Split where the original's formatting changes, and record each difference.
        const std::int64_t shift = std::int64_t(from) - std::int64_t(beforeFrom);
        for (auto at = FirstReaching(before->inlines, begin - shift);
             at != before->inlines.end() && std::int64_t(at->begin) + shift < end; ++at) {
            const Inline& old = *at;
            if (old.place == Place::Marker || old.place == Place::Range) continue;
            // The original's stretch in this side's positions.
            const std::int64_t oldBegin = old.begin + shift, oldEnd = old.end + shift;
            // Compared before narrowing: a stretch of the original before this one lies
            // at negative positions here, and must not wrap round to a huge one.
            const std::int64_t from64 = std::max<std::int64_t>(begin, oldBegin);
            const std::int64_t to64 = std::min<std::int64_t>(end, oldEnd);
            if (from64 >= to64) continue;
            const auto b = static_cast<std::uint32_t>(from64);
            const auto e = static_cast<std::uint32_t>(to64);
            const pugi::xml_node oldProperties = old.run.child(w::rPr);
            const bool changed = old.look != piece.look;
            const pugi::xml_node copy = write(piece, b, e, side.stream, original, mark,
                                              changed ? oldProperties : pugi::xml_node(), changed);
            tell(piece, copy, mark, before, shift);
            if (changed && reformatted) reformatted->append(ReaderText(side, b, e));
        }
    }
}

bool Emitter::MovesWhole(const Inline& piece, std::string_view stream) {
    if (piece.place != Place::Text || !piece.run) return false;
    // The run holds its properties and this text alone.
    for (const pugi::xml_node& child : piece.run.children()) {
        if (child != piece.node && !Named(child, w::rPr)) return false;
    }
    // Its spaces at either end are kept as written: the text says so itself.
    auto white = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    const char first = stream[piece.begin], last = stream[piece.end - 1];
    return !(white(first) || white(last)) ||
           std::string_view(piece.node.attribute("xml:space").value()) == "preserve";
}

bool Emitter::LooksAlike(const Inline& piece, const Paragraph& before, std::int64_t shift) {
    for (auto at = FirstReaching(before.inlines, piece.begin - shift);
         at != before.inlines.end() && std::int64_t(at->begin) + shift < piece.end; ++at) {
        if (at->place == Place::Marker || at->place == Place::Range) continue;
        if (std::int64_t(at->end) + shift <= piece.begin) continue;
        if (at->look != piece.look) return false;
    }
    return true;
}

void Emitter::finish(const Paragraph& side, const Paragraph* original) {
    if (original) {
        for (auto at = FirstReaching(original->inlines, original->stream.size());
             at != original->inlines.end(); ++at) {
            if (at->place != Place::Marker || at->begin < original->stream.size()) continue;
            if (const std::string id = context_.carriedComment(at->node); !id.empty()) {
                if (Closing(*at)) revisedMarkersAt(side, side.stream.size());
                originalMarker(*at, id);
            }
        }
    }
    revisedMarkersAt(side, side.stream.size());
}

bool Emitter::Closing(const Inline& marker) {
    return marker.run || Named(marker.node, w::commentRangeEnd);
}

void Emitter::revisedMarkersAt(const Paragraph& side, std::uint32_t at) {
    if (markersDoneAt_ == at) return;
    for (auto piece = FirstReaching(side.inlines, at);
         piece != side.inlines.end() && piece->begin <= at; ++piece) {
        if (piece->place == Place::Marker && piece->begin == at) marker(*piece);
    }
    markersDoneAt_ = at;
}

void Emitter::tell(const Inline& piece, const pugi::xml_node& copy, std::optional<Mark> mark,
                   const Paragraph* before, std::int64_t shift) {
    if (!context_.nested || piece.place == Place::Text || !copy) return;
    if (mark == Mark::Insert) {
        context_.nested->inserted(copy);
    } else if (!mark && before) {
        const std::int64_t place = std::int64_t(piece.begin) - shift;
        for (auto at = FirstReaching(before->inlines, place);
             at != before->inlines.end() && std::int64_t(at->begin) <= place; ++at) {
            if (at->object && std::int64_t(at->begin) == place) {
                context_.nested->kept(at->node, copy);
            }
        }
    }
}

pugi::xml_node Emitter::target(const Inline& piece, bool original) {
    const pugi::xml_node& wrapper = piece.wrapper;
    if (!wrapper) {
        openSource_ = {};
        return paragraph_;
    }
    const bool control = Named(wrapper, w::sdtContent);
    // One control for its words of both sides: equal controls are one, whichever side speaks.
    if (wrapper == openSource_ ||
        (control && Named(openSource_, w::sdtContent) && piece.link == openLink_)) {
        return open_;
    }
    if (control) {
        pugi::xml_node sdt = paragraph_.append_child(w::sdt);
        for (const char* properties : {w::sdtPr, w::sdtEndPr}) {
            if (const pugi::xml_node node = wrapper.parent().child(properties)) {
                pugi::xml_node copy = sdt.append_copy(node);
                if (original) context_.carry.carry(copy);
            }
        }
        open_ = sdt.append_child(w::sdtContent);
    } else {
        open_ = paragraph_.append_child(wrapper.name());
        for (const pugi::xml_attribute& attribute : wrapper.attributes()) {
            open_.append_attribute(attribute.name()) = attribute.value();
        }
        if (original) context_.carry.carry(open_);
    }
    openSource_ = wrapper;
    openLink_ = piece.link;
    return open_;
}

pugi::xml_node Emitter::write(const Inline& piece, std::uint32_t begin, std::uint32_t end,
                              std::string_view stream, bool original, std::optional<Mark> mark,
                              const pugi::xml_node& oldProperties, bool reformat) {
    pugi::xml_node parent = target(piece, original);
    if (piece.place == Place::Range) {
        pugi::xml_node first;
        for (pugi::xml_node node = piece.node;; node = node.next_sibling()) {
            pugi::xml_node copy = parent.append_copy(node);
            if (!first) first = copy;
            if (original) context_.carry.carry(copy);
            if (mark) MarkRuns(copy, *mark, context_.stamp);
            if (node == piece.last) break;
        }
        return first;
    }
    Stamp& stamp = context_.stamp;
    pugi::xml_node run = stamp.append(parent, w::r);
    if (const pugi::xml_node properties = piece.run.child(w::rPr)) {
        pugi::xml_node copy = run.append_copy(properties);
        if (original) context_.carry.carry(copy);
    }
    pugi::xml_node object;
    if (piece.place == Place::Text) {
        const std::string_view words(stream.data() + begin, end - begin);
        const bool removed = mark == Mark::Delete || mark == Mark::MoveFrom;
        pugi::xml_node text = stamp.append(run, removed ? w::delText : w::t);
        // Only white space at either end needs keeping: inside a text it stays anyway.
        auto white = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
        if (words.empty() || white(words.front()) || white(words.back())) stamp.preserve(text);
        text.text().set(words.data(), words.size());
    } else {
        object = run.append_copy(piece.node);
        if (original) context_.carry.carry(object);
    }
    if (reformat) {
        pugi::xml_node change = PropertiesOf(run, w::rPr).append_child(w::rPrChange);
        context_.stamp.on(change);
        pugi::xml_node old = change.append_child(w::rPr);
        for (const pugi::xml_node& child : oldProperties.children()) {
            if (std::strcmp(child.name(), w::rPrChange) != 0) old.append_copy(child);
        }
        context_.carry.carry(old);
    }
    if (mark) MarkRun(run, *mark, context_.stamp);
    return object;
}

void Emitter::originalMarker(const Inline& piece, const std::string& id) {
    pugi::xml_node parent = target(piece, true);
    if (!piece.run) {
        parent.append_copy(piece.node).attribute("w:id").set_value(id.c_str());
        return;
    }
    // A reference of a comment the revised document dropped: deleted, so that accepting every
    // change takes the comment away and rejecting keeps it.
    pugi::xml_node run = context_.stamp.append(parent, w::r);
    if (const pugi::xml_node properties = piece.run.child(w::rPr)) {
        context_.carry.carry(run.append_copy(properties));
    }
    run.append_copy(piece.node).attribute("w:id").set_value(id.c_str());
    MarkRun(run, Mark::Delete, context_.stamp);
}

void Emitter::marker(const Inline& piece) {
    pugi::xml_node parent = target(piece, false);
    if (!piece.run) {
        parent.append_copy(piece.node);
        return;
    }
    pugi::xml_node run = parent.append_child(w::r);
    if (const pugi::xml_node properties = piece.run.child(w::rPr)) run.append_copy(properties);
    run.append_copy(piece.node);
}

}  // namespace redline
