#include "redline/combine/Units.h"
#include "redline/io/Names.h"

#include <sstream>
#include <string_view>

#include "redline/io/Elements.h"
#include "redline/io/Revisions.h"
#include "redline/io/Xml.h"

namespace redline {

namespace {

bool IsBlock(const pugi::xml_node& node) {
    return NamedOneOf(node, {w::p, w::tbl, w::sdt});
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

bool RowInserted(const pugi::xml_node& row) {
    for (pugi::xml_node mark : row.child(w::trPr).children()) {
        if (KindOf(mark) == ElementKind::Adding) return true;
    }
    return false;
}

// Whether every row below `holder` (a table, or a control or custom XML around rows) is
// inserted; `any` learns whether there is one.
bool RowsInserted(const pugi::xml_node& holder, bool& any) {
    for (pugi::xml_node child : holder.children()) {
        if (Named(child, w::tr)) {
            if (!RowInserted(child)) return false;
            any = true;
        } else if (Named(child, w::sdt)) {
            if (!RowsInserted(child.child(w::sdtContent), any)) return false;
        } else if (Named(child, w::customXml) && !RowsInserted(child, any)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool InsertedWhole(const pugi::xml_node& block) {
    if (Named(block, w::p)) return MarkInserted(block) && !HoldsKeptRun(block);
    bool any = false;
    if (Named(block, w::tbl)) return RowsInserted(block, any) && any;
    if (Named(block, w::sdt)) {
        for (pugi::xml_node inner : block.child(w::sdtContent).children()) {
            if (inner.type() != pugi::node_element) continue;
            if (!IsBlock(inner) || !InsertedWhole(inner)) return false;
            any = true;
        }
    }
    return any;
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

MarkedUnits CutIntoUnits(const pugi::xml_node& body) {
    MarkedUnits cut;
    std::vector<pugi::xml_node> pending, gap;
    for (pugi::xml_node child : body.children()) {
        if (child.type() != pugi::node_element) continue;
        if (Named(child, w::sectPr)) {
            cut.sections = child;
            continue;
        }
        const bool block = IsBlock(child);
        if (block && InsertedWhole(child)) {
            // Inserted between paragraphs that rejecting joins: it stays with them.
            (pending.empty() ? gap : pending).push_back(child);
            continue;
        }
        pending.push_back(child);
        // A paragraph whose mark is new joins the next block when rejected; anything else that
        // is no block (a bookmark between paragraphs) goes with the next block too.
        if (!block || (Named(child, w::p) && MarkInserted(child))) continue;
        cut.units.push_back(std::move(pending));
        cut.gaps.push_back(std::move(gap));
        pending.clear();
        gap.clear();
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
