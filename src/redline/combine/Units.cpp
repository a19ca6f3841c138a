#include "redline/combine/Units.h"
#include "redline/io/Names.h"

#include <algorithm>
#include <sstream>
#include <string_view>

#include "redline/io/Elements.h"
#include "redline/io/Revisions.h"
#include "redline/io/Xml.h"

namespace redline {

namespace {

bool Adds(const Revision& mark) {
    return mark.kind == MarkKind::Inserted || mark.kind == MarkKind::MovedTo;
}

// Whether the paragraph's mark is itself inserted or moved here.
bool MarkInserted(const pugi::xml_node& paragraph) {
    for (pugi::xml_node mark : paragraph.child(w::pPr).child(w::rPr).children()) {
        if (KindOf(mark) == ElementKind::Adding) return true;
    }
    return false;
}

// Whether any run below `node` stays when every change is rejected.
bool HoldsKeptRun(const pugi::xml_node& node) {
    bool kept = false;
    WalkContent(node, [&](const pugi::xml_node&, ElementKind kind) {
        if (kind == ElementKind::Run) kept = true;
        return !kept && kind != ElementKind::Adding && kind != ElementKind::Properties;
    });
    return kept;
}

// Whether the paragraph holds anything that rejecting every change keeps: an inline in a run,
// or a unit of runs, that no insertion or move brought.
bool HoldsKeptInline(const Paragraph& paragraph) {
    return std::any_of(paragraph.inlines.begin(), paragraph.inlines.end(), [](const Inline& piece) {
        return (piece.run || piece.place == Place::Range) && !Adds(piece.mark);
    });
}

// Whether the block stands as a block of its own among the units: custom XML and imported chunks
// go with the block after them, as markers between blocks do.
bool IsUnitBlock(const Block& block) {
    return block.kind != BlockKind::Other && !Named(block.node, w::customXml);
}

}  // namespace

bool InsertedWhole(const Block& block) {
    if (block.content) return Adds(block.content->end) && !HoldsKeptInline(*block.content);
    if (block.kind == BlockKind::Table) {
        return !block.rows.empty() && std::all_of(block.rows.begin(), block.rows.end(),
                                                  [](const Row& row) { return Adds(row.mark); });
    }
    if (!block.inside) return false;
    const Story& inside = *block.inside;
    const bool onlyBlocks =
        inside.trailing.empty() && std::all_of(inside.blocks.begin(), inside.blocks.end(),
                                               [](const Block& b) { return b.leading.empty(); });
    return onlyBlocks && !inside.blocks.empty() &&
           std::all_of(inside.blocks.begin(), inside.blocks.end(), [](const Block& inner) {
               return IsUnitBlock(inner) && InsertedWhole(inner);
           });
}

std::size_t AppendedFrom(const std::vector<pugi::xml_node>& unit) {
    // The last paragraphs from the end: new words, the last one's mark kept, the others' new.
    std::size_t from = unit.size();
    while (from > 0 && Named(unit[from - 1], w::p) && !HoldsKeptRun(unit[from - 1]) &&
           MarkInserted(unit[from - 1]) == (from != unit.size())) {
        --from;
    }
    if (from == unit.size() || from == 0) return 0;
    // Before them, a paragraph whose words are as they were and whose mark is new.
    const pugi::xml_node before = unit[from - 1];
    if (!Named(before, w::p) || !MarkInserted(before)) return 0;
    // Its words and properties as they were: only its mark is new.
    pugi::xml_document words;
    pugi::xml_node copy = words.append_copy(before);
    pugi::xml_node mark = copy.child(w::pPr).child(w::rPr);
    for (pugi::xml_node child = mark.first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        if (KindOf(child) == ElementKind::Adding) mark.remove_child(child);
        child = next;
    }
    for (std::size_t i = 0; i + 1 < from; ++i) {
        if (unit[i].find_node([](const pugi::xml_node& n) { return IsRevisionMark(n); })) return 0;
    }
    return HoldsRevisions(copy) ? 0 : from;
}

MarkedUnits CutIntoUnits(const Story& body) {
    MarkedUnits cut;
    std::vector<pugi::xml_node> pending, gap;
    for (const Block& block : body.blocks) {
        // What stands between blocks (a bookmark) goes with the next block.
        pending.insert(pending.end(), block.leading.begin(), block.leading.end());
        if (!IsUnitBlock(block)) {
            pending.push_back(block.node);
            continue;
        }
        if (InsertedWhole(block)) {
            // Inserted between paragraphs that rejecting joins: it stays with them.
            (pending.empty() ? gap : pending).push_back(block.node);
            continue;
        }
        pending.push_back(block.node);
        // A paragraph whose mark is new joins the next block when rejected.
        if (block.content && Adds(block.content->end)) continue;
        cut.units.push_back(std::move(pending));
        cut.gaps.push_back(std::move(gap));
        pending.clear();
        gap.clear();
    }
    for (const pugi::xml_node& node : body.trailing) {
        if (Named(node, w::sectPr)) {
            cut.sections = node;
        } else {
            pending.push_back(node);
        }
    }
    if (!pending.empty() && !cut.units.empty()) {
        // The story's last paragraphs join the one before them.
        auto& last = cut.units.back();
        last.insert(last.end(), gap.begin(), gap.end());
        last.insert(last.end(), pending.begin(), pending.end());
        gap.clear();
    } else {
        gap.insert(gap.end(), pending.begin(), pending.end());
    }
    cut.gaps.push_back(std::move(gap));
    return cut;
}

namespace {

// Attributes that say who made a change, when, under which id, or which copy of a paragraph it
// is: none of them is what a reader sees.
bool Incidental(std::string_view name) {
    return name == "w:id" || name == "w:author" || name == "w:date" || name == "w:name" ||
           name == "xml:space" || name.starts_with("w:rsid") || name == "w14:paraId" ||
           name == "w14:textId";
}

void Sign(const pugi::xml_node& node, std::ostringstream& out) {
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            out << child.value();
            continue;
        }
        if (child.type() != pugi::node_element || Named(child, w::proofErr)) continue;
        out << '<' << child.name();
        for (pugi::xml_attribute attribute : child.attributes()) {
            out << ' ' << attribute.name() << '=' << attribute.value();
        }
        out << '>';
        Sign(child, out);
        out << "</>";
    }
}

std::string Printed(const pugi::xml_node& node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

// Adjacent texts of one kind in a run read as one.
void JoinTexts(pugi::xml_node run) {
    for (pugi::xml_node text = run.first_child(); text;) {
        const pugi::xml_node next = text.next_sibling();
        if (next && NamedOneOf(text, {w::t, w::delText, m::t, w::instrText}) &&
            Named(next, text.name())) {
            const std::string joined = std::string(text.text().get()) + next.text().get();
            text.text().set(joined.c_str());
            // Spaces at the ends of either stay spaces of the one.
            if (next.attribute("xml:space") && !text.attribute("xml:space")) {
                text.append_copy(next.attribute("xml:space"));
            }
            run.remove_child(next);
            continue;
        }
        text = next;
    }
}

bool IsRunProperties(const pugi::xml_node& node) {
    return NamedOneOf(node, {w::rPr, m::rPr});
}

// A run's properties, text's and equation's alike.
std::string RunProperties(const pugi::xml_node& run) {
    std::string properties;
    for (pugi::xml_node child : run.children()) {
        if (IsRunProperties(child)) properties += Printed(child);
    }
    return properties;
}

// Runs cut at other places read alike: adjacent runs with the same properties are joined.
void JoinRuns(pugi::xml_node node) {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        if (!NamedOneOf(child, {w::r, m::r})) {
            JoinRuns(child);
            continue;
        }
        const std::string properties = RunProperties(child);
        for (pugi::xml_node next = child.next_sibling();
             next && Named(next, child.name()) && RunProperties(next) == properties;
             next = child.next_sibling()) {
            for (pugi::xml_node inner = next.first_child(); inner;) {
                const pugi::xml_node after = inner.next_sibling();
                if (!IsRunProperties(inner)) child.append_move(inner);
                inner = after;
            }
            node.remove_child(next);
        }
        JoinTexts(child);
        JoinRuns(child);  // a text box's paragraphs stand in a run
    }
}

// Takes away what differs between writings of one content, and names what relationships point
// at rather than their ids.
void StripIncidental(pugi::xml_node node, const SignatureReader& reader) {
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        if (reader.story &&
            NamedOneOf(child, {w::commentReference, w::footnoteReference, w::endnoteReference})) {
            child.append_attribute("story") = reader.story(child).c_str();
        }
        const bool drawing = NamedOneOf(child, {wp::docPr, pic::cNvPr});
        for (pugi::xml_attribute attribute = child.first_attribute(); attribute;) {
            const pugi::xml_attribute next = attribute.next_attribute();
            const std::string_view name = attribute.name();
            if (Incidental(name) || (drawing && name == "id")) {
                child.remove_attribute(attribute);
            } else if (name.starts_with("r:")) {
                attribute.set_value(reader.target(attribute.value()).c_str());
            }
            attribute = next;
        }
        StripIncidental(child, reader);
    }
}

}  // namespace

void JoinAlikeRuns(pugi::xml_node node) {
    JoinRuns(node);
}

std::string AcceptedSignature(const std::vector<pugi::xml_node>& nodes,
                              const SignatureReader& reader) {
    pugi::xml_document copy;
    pugi::xml_node body = copy.append_child(w::body);
    for (const pugi::xml_node& node : nodes) body.append_copy(node);
    AcceptRevisions(body);
    StripIncidental(copy, reader);
    JoinRuns(copy);
    std::ostringstream out;
    Sign(body, out);
    return out.str();
}

}  // namespace redline
