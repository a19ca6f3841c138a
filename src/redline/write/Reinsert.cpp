#include "redline/write/Reinsert.h"

#include <set>
#include <string>

#include "redline/io/Names.h"
#include "redline/io/Revisions.h"
#include "redline/io/Xml.h"
#include "redline/write/Splits.h"

namespace redline {

namespace {

bool IsBlock(const pugi::xml_node& node) {
    return NamedOneOf(node, {w::p, w::tbl, w::tr, w::tc, w::sdt});
}

bool BlockBefore(pugi::xml_node node) {
    for (node = node.previous_sibling(); node; node = node.previous_sibling()) {
        if (IsBlock(node)) return true;
    }
    return false;
}

bool BlockAfter(pugi::xml_node node) {
    for (node = node.next_sibling(); node; node = node.next_sibling()) {
        if (IsBlock(node)) return true;
    }
    return false;
}

// The element that holds `node` first (or last) and stands in an element named `level` (the
// body, a cell, a table), or none where `node` is not at that edge of each element around it.
// Never past the part's root: what stands beside it is no content.
pugi::xml_node Climb(pugi::xml_node node, const char* level, bool first) {
    while (node.parent().type() == pugi::node_element && !Named(node.parent(), level)) {
        if (first ? BlockBefore(node) : BlockAfter(node)) return {};
        node = node.parent();
    }
    return Named(node.parent(), level) ? node : pugi::xml_node{};
}

// The name text takes in a deletion.
const char* DeletedName(const pugi::xml_node& text) {
    if (Named(text, w::instrText) || Named(text, w::delInstrText)) return w::delInstrText;
    return Named(text, m::t) ? m::t : w::delText;
}

// A comment's or bookmark's range marks in content written back stand where the revised
// document had them: any left where accepting its deletion put them go.
void OnlyTheCopysMarkers(const pugi::xml_node& copy) {
    std::set<std::string> marks;
    auto key = [](const pugi::xml_node& node) {
        return std::string(node.name()) + "#" + node.attribute("w:id").value();
    };
    auto marker = [](const pugi::xml_node& node) {
        return NamedOneOf(
            node, {w::commentRangeStart, w::commentRangeEnd, w::bookmarkStart, w::bookmarkEnd});
    };
    copy.find_node([&](const pugi::xml_node& node) {
        if (marker(node)) marks.insert(key(node));
        return false;
    });
    if (marks.empty()) return;
    std::vector<pugi::xml_node> stale;
    copy.root().find_node([&](const pugi::xml_node& node) {
        if (marker(node) && marks.count(key(node))) {
            bool inside = false;
            for (pugi::xml_node up = node; up && !inside; up = up.parent()) inside = up == copy;
            if (!inside) stale.push_back(node);
        }
        return false;
    });
    for (pugi::xml_node node : stale) node.parent().remove_child(node);
}

bool EndsBlock(const TrailStep& step) {
    return step.kind == TrailKind::ParagraphEnd || step.kind == TrailKind::RowEnd;
}

// What holds a run, past the marks around it: the paragraph, a link, a control's content.
pugi::xml_node HolderOf(const pugi::xml_node& run) {
    pugi::xml_node holder = run.parent();
    while (IsContentMark(holder)) holder = holder.parent();
    return holder;
}

std::string ControlId(const pugi::xml_node& control) {
    return control.child(w::sdtPr).child("w:id").attribute("w:val").value();
}

// Whether two holders are one: the paragraph, the same link (by its target), the same control.
bool Alike(const pugi::xml_node& a, const pugi::xml_node& b) {
    if (!SameName(a.name(), b.name())) return false;
    if (Named(a, w::sdtContent)) return ControlId(a.parent()) == ControlId(b.parent());
    for (const pugi::xml_attribute attribute : a.attributes()) {
        if (std::string_view(b.attribute(attribute.name()).value()) != attribute.value())
            return false;
    }
    return true;
}

// The place moved out of the content controls, links and the like it stands at the edge of,
// as long as the revised content it takes stood in another holder.
Point OutOfContainers(Point point, const pugi::xml_node& revisedRun) {
    const pugi::xml_node outside = HolderOf(revisedRun);
    auto edge = [&](bool start) {
        for (pugi::xml_node n = start ? point.parent.first_child() : point.before; n;
             n = n.next_sibling()) {
            if (start && n == point.before) return true;
            if (!std::string_view(n.name()).ends_with("Pr")) return false;
        }
        return true;
    };
    // Only the holders a paragraph's content stands in: never out of the paragraph itself.
    while (NamedOneOf(point.parent,
                      {w::hyperlink, w::smartTag, w::fldSimple, w::customXml, w::sdtContent}) &&
           !Alike(point.parent, outside)) {
        const bool atStart = edge(true), atEnd = !atStart && edge(false);
        if (!atStart && !atEnd) break;
        pugi::xml_node holder =
            Named(point.parent, w::sdtContent) ? point.parent.parent() : point.parent;
        if (!holder.parent() || Named(holder.parent(), w::body)) break;
        point = {holder.parent(), atStart ? holder : holder.next_sibling()};
    }
    return point;
}

}  // namespace

Reinsert::Reinsert(const std::vector<TrailStep>& result, const std::vector<TrailStep>& revised,
                   Stamp& stamp)
    : result_(result), revised_(revised), stamp_(stamp) {
    for (std::size_t i = 0; i < revised_.size(); ++i) {
        if (EndsBlock(revised_[i])) ends_[revised_[i].node.internal_object()] = i;
    }
}

bool Reinsert::before(std::size_t before, const std::vector<std::size_t>& steps) {
    placed_ = false;
    before_ = before;
    bool found = true;
    const std::vector<Piece> pieces = piecesOf(steps, found);
    for (const Piece& piece : pieces) {
        switch (piece.kind) {
            case PieceKind::Inline:
                found = inlinePiece(piece, steps) && found;
                break;
            case PieceKind::Equation:
                found = equation(piece) && found;
                break;
            case PieceKind::ParagraphEnd:
                found = paragraphEnd(piece) && found;
                break;
            case PieceKind::Block:
            case PieceKind::Row:
                found = block(piece) && found;
                break;
        }
    }
    return found;
}

std::size_t Reinsert::endOf(const pugi::xml_node& element) const {
    const auto found = ends_.find(element.internal_object());
    return found == ends_.end() ? revised_.size() : found->second;
}

Reinsert::Piece Reinsert::wholeAt(const std::vector<std::size_t>& steps, std::size_t at) const {
    const pugi::xml_node paragraph = revised_[steps[at]].paragraph;
    if (!paragraph) return {PieceKind::Inline, at, at, {}};
    const pugi::xml_node row = paragraph.parent().parent();
    const bool inTable = Named(paragraph.parent(), w::tc) && Named(row, w::tr);
    const pugi::xml_node table = inTable ? row.parent() : pugi::xml_node{};
    const std::pair<pugi::xml_node, PieceKind> candidates[] = {
        {table, PieceKind::Block},
        {inTable ? row : pugi::xml_node{}, PieceKind::Row},
        {paragraph, PieceKind::Block}};
    for (const auto& [element, kind] : candidates) {
        if (!element) continue;
        const pugi::xml_node last = Named(element, w::tbl) ? element.last_child() : element;
        const std::size_t end = endOf(last);
        const std::size_t count = TrailOf(element).size() + (Named(element, w::tbl) ? 0 : 1);
        if (end >= revised_.size() || end + 1 < count || end + 1 - count != steps[at]) continue;
        if (at + count > steps.size() || steps[at + count - 1] != end) continue;
        return {kind, at, at + count - 1, element};
    }
    return {PieceKind::Inline, at, at, {}};
}

std::vector<Reinsert::Piece> Reinsert::piecesOf(const std::vector<std::size_t>& steps,
                                                bool& found) const {
    std::vector<Piece> pieces;
    for (std::size_t at = 0; at < steps.size();) {
        Piece piece = wholeAt(steps, at);
        const TrailStep& step = revised_[steps[at]];
        if (piece.kind == PieceKind::Inline && step.kind == TrailKind::ParagraphEnd) {
            piece = {PieceKind::ParagraphEnd, at, at, step.node};
        } else if (piece.kind == PieceKind::Inline && step.kind == TrailKind::Equation) {
            piece = {PieceKind::Equation, at, at, step.node};
        } else if (piece.kind == PieceKind::Inline && step.kind == TrailKind::RowEnd) {
            found = false;  // a row's end alone: its cells are the result's
            ++at;
            continue;
        } else if (piece.kind == PieceKind::Inline) {
            const pugi::xml_node run = step.node.parent();
            while (piece.last + 1 < steps.size()) {
                const TrailStep& next = revised_[steps[piece.last + 1]];
                if (EndsBlock(next) || next.node.parent() != run || next.mark != step.mark) break;
                ++piece.last;
            }
            piece.node = run;
        }
        pieces.push_back(piece);
        at = piece.last + 1;
    }
    return pieces;
}

bool Reinsert::placeInline(const pugi::xml_node& revisedRun) {
    if (placed_) return true;
    if (before_ >= result_.size()) return false;
    const TrailStep& at = result_[before_];
    Point point;
    if (at.kind == TrailKind::ParagraphEnd) {
        point = {at.node, {}};
    } else if (at.kind == TrailKind::RowEnd) {
        return false;
    } else {
        point = OutOfMarks(CutRunBefore(at.node, at.offset, stamp_), stamp_);
    }
    point = OutOfContainers(point, revisedRun);
    parent_ = point.parent;
    next_ = point.before;
    placed_ = true;
    return true;
}

bool Reinsert::inlinePiece(const Piece& piece, const std::vector<std::size_t>& steps) {
    const TrailStep& first = revised_[steps[piece.first]];
    if (!placeInline(piece.node)) return false;
    pugi::xml_node into = parent_, before = next_;
    // Content that stood in a link or a control of its own comes back in a copy of it.
    if (const pugi::xml_node holder = HolderOf(piece.node);
        !Named(holder, w::p) && !Alike(parent_, holder)) {
        const bool control = Named(holder, w::sdtContent);
        const pugi::xml_node own = control ? holder.parent() : holder;
        pugi::xml_node copy = next_ ? parent_.insert_child_before(own.name(), next_)
                                    : parent_.append_child(own.name());
        for (pugi::xml_attribute attribute : own.attributes()) copy.append_copy(attribute);
        if (control) {
            for (pugi::xml_node properties : own.children()) {
                if (!Named(properties, w::sdtContent)) copy.append_copy(properties);
            }
            copy = copy.append_child(w::sdtContent);
        }
        into = copy;
        before = {};
    }
    pugi::xml_node wrapper =
        before ? into.insert_child_before(w::del, before) : into.append_child(w::del);
    wrapper.append_attribute("w:id") = stamp_.nextId();
    if (first.mark) TakeAuthor(wrapper, first.mark);
    pugi::xml_node run = wrapper.append_child(piece.node.name());
    for (pugi::xml_attribute attribute : piece.node.attributes()) run.append_copy(attribute);
    for (pugi::xml_node child : piece.node.children()) {
        if (std::string_view(child.name()).ends_with("rPr")) run.append_copy(child);
    }
    pugi::xml_node text, textOf;
    std::string value;
    auto flush = [&] {
        if (text) text.text().set(value.c_str());
        text = {};
        value.clear();
    };
    for (std::size_t i = piece.first; i <= piece.last; ++i) {
        const TrailStep& step = revised_[steps[i]];
        if (step.kind == TrailKind::Child) {
            flush();
            run.append_copy(step.node);
            continue;
        }
        if (!text || textOf != step.node) {
            flush();
            text = run.append_child(DeletedName(step.node));
            text.append_attribute("xml:space") = "preserve";
            textOf = step.node;
        }
        value.append(step.node.text().get() + step.offset, step.length);
    }
    flush();
    return true;
}

bool Reinsert::equation(const Piece& piece) {
    if (!placeInline(piece.node)) return false;
    renumber(next_ ? parent_.insert_copy_before(piece.node, next_)
                   : parent_.append_copy(piece.node));
    return true;
}

bool Reinsert::paragraphEnd(const Piece& piece) {
    if (!placeInline(piece.node.first_child()) || !Named(parent_, w::p)) return false;
    const pugi::xml_node paragraph = parent_;
    pugi::xml_node head = paragraph.parent().insert_child_before(w::p, paragraph);
    for (pugi::xml_attribute attribute : piece.node.attributes()) head.append_copy(attribute);
    if (pugi::xml_node properties = piece.node.child(w::pPr)) {
        renumber(head.append_copy(properties));
    }
    for (pugi::xml_node child = paragraph.first_child(); child && child != next_;) {
        const pugi::xml_node next = child.next_sibling();
        if (!Named(child, w::pPr)) head.append_move(child);
        child = next;
    }
    return true;
}

bool Reinsert::block(const Piece& piece) {
    const char* level = piece.node.parent().name();
    pugi::xml_node anchor;
    bool after = false;
    if (placed_) {
        if (!Named(parent_, w::p)) return false;
        for (pugi::xml_node child = parent_.first_child(); child != next_;
             child = child.next_sibling()) {
            if (!Named(child, w::pPr)) return false;  // the place is inside a paragraph
        }
        anchor = Climb(parent_, level, true);
    } else if (BlockBefore(piece.node) && before_ > 0 && EndsBlock(result_[before_ - 1])) {
        anchor = Climb(result_[before_ - 1].node, level, false);
        after = true;
    } else if (before_ < result_.size() && (before_ == 0 || EndsBlock(result_[before_ - 1])) &&
               result_[before_].kind != TrailKind::RowEnd) {
        anchor = Climb(result_[before_].paragraph, level, true);
    }
    if (!anchor) return false;
    const pugi::xml_node copy = after ? anchor.parent().insert_copy_after(piece.node, anchor)
                                      : anchor.parent().insert_copy_before(piece.node, anchor);
    renumber(copy);
    OnlyTheCopysMarkers(copy);
    return true;
}

void Reinsert::renumber(pugi::xml_node copy) {
    std::vector<pugi::xml_node> pending{copy}, ranges;
    while (!pending.empty()) {
        pugi::xml_node node = pending.back();
        pending.pop_back();
        if (NamedOneOf(node, {w::moveFromRangeStart, w::moveFromRangeEnd, w::moveToRangeStart,
                              w::moveToRangeEnd})) {
            ranges.push_back(node);
            continue;
        }
        // A move's other end is not written back with it: its source is a deletion here.
        if (Named(node, w::moveFrom)) node.set_name(w::del);
        if (Named(node, w::moveTo)) node.set_name(w::ins);
        if (Named(node, w::t) && Named(node.parent().parent(), w::del)) node.set_name(w::delText);
        if (IsRevisionMark(node) && node.attribute("w:id"))
            node.attribute("w:id").set_value(stamp_.nextId());
        for (pugi::xml_node child : node.children()) {
            if (child.type() == pugi::node_element) pending.push_back(child);
        }
    }
    for (pugi::xml_node range : ranges) range.parent().remove_child(range);
}

}  // namespace redline
