#include "redline/write/Marks.h"

#include <cstring>
#include <sstream>
#include <vector>

#include "redline/io/Elements.h"
#include "redline/io/Xml.h"
#include "redline/io/XmlText.h"
#include "redline/read/Story.h"

namespace redline {

namespace {

bool Removing(Mark mark) {
    return mark == Mark::Delete || mark == Mark::MoveFrom;
}

// The paragraphs of a block, leaving those inside pictures and text boxes to their runs.
void CollectParagraphs(pugi::xml_node node, std::vector<pugi::xml_node>& out) {
    for (pugi::xml_node child : node.children()) {
        if (Named(child, "w:p")) {
            out.push_back(child);
        } else if (child.type() == pugi::node_element && !Named(child, "w:r")) {
            CollectParagraphs(child, out);
        }
    }
}

void AddMoveRange(pugi::xml_node paragraph, Mark mark, Stamp& stamp, int move) {
    const bool from = mark == Mark::MoveFrom;
    const int id = stamp.nextId();
    pugi::xml_node start =
        paragraph.child("w:pPr")
            ? paragraph.insert_child_after(from ? "w:moveFromRangeStart" : "w:moveToRangeStart",
                                           paragraph.child("w:pPr"))
            : paragraph.prepend_child(from ? "w:moveFromRangeStart" : "w:moveToRangeStart");
    start.append_attribute("w:id") = id;
    stamp.on(start);
    start.append_attribute("w:name") = ("quorvane-move-" + std::to_string(move)).c_str();
    paragraph.append_child(from ? "w:moveFromRangeEnd" : "w:moveToRangeEnd")
        .append_attribute("w:id") = id;
}

}  // namespace

namespace {

// The elements that marking writes most, besides the marks' own: each shared where written.
constexpr const char* kSharedElements[] = {"w:r",   "w:t",        "w:delText", "w:del",
                                           "w:ins", "w:moveFrom", "w:moveTo"};
constexpr const char* kHolder = "quorvane-shared-names";

}  // namespace

Stamp::Stamp(std::string author, std::string date)
    : author_(AsXmlText(author)), date_(std::move(date)) {
    // Written by the XML library, which escapes whatever the author's name holds; what XML cannot
    // hold at all (a control, bytes that are not UTF-8) becomes U+FFFD.
    pugi::xml_document prototypes;
    pugi::xml_node stamp = prototypes.append_child("stamp");
    stamp.append_attribute("w:id") = "0";
    stamp.append_attribute("w:author") = author_.c_str();
    stamp.append_attribute("w:date") = date_.c_str();
    stamp.append_attribute("xml:space") = "preserve";
    for (const char* name : kSharedElements) prototypes.append_child(name);
    std::ostringstream text;
    prototypes.save(text, "", pugi::format_raw | pugi::format_no_declaration);
    prototypes_ = text.str();
}

pugi::xml_node Stamp::shared(const pugi::xml_node& node) {
    pugi::xml_node document = node.root();
    for (const auto& [owner, holder] : holders_) {
        if (owner == document.internal_object()) return holder;
    }
    // Parsed into the document, where its text lives as long as the document does. An author's
    // name that XML cannot hold is written unshared, as given.
    pugi::xml_node holder = document.append_child(kHolder);
    if (!holder.append_buffer(prototypes_.data(), prototypes_.size())) {
        document.remove_child(holder);
        holder = {};
    }
    holders_.emplace_back(document.internal_object(), holder);
    return holder;
}

void Stamp::on(pugi::xml_node element) {
    const pugi::xml_node stamp = shared(element).child("stamp");
    if (!stamp) {
        if (!element.attribute("w:id")) element.append_attribute("w:id") = id_++;
        element.append_attribute("w:author") = author_.c_str();
        element.append_attribute("w:date") = date_.c_str();
        return;
    }
    if (!element.attribute("w:id")) element.append_copy(stamp.attribute("w:id")).set_value(id_++);
    element.append_copy(stamp.attribute("w:author"));
    element.append_copy(stamp.attribute("w:date"));
}

pugi::xml_node Stamp::append(pugi::xml_node parent, const char* name) {
    const pugi::xml_node prototype = shared(parent).child(name);
    return prototype ? parent.append_copy(prototype) : parent.append_child(name);
}

pugi::xml_node Stamp::insertBefore(pugi::xml_node parent, const char* name,
                                   const pugi::xml_node& before) {
    const pugi::xml_node prototype = shared(parent).child(name);
    return prototype ? parent.insert_copy_before(prototype, before)
                     : parent.insert_child_before(name, before);
}

void Stamp::preserve(pugi::xml_node text) {
    if (const pugi::xml_attribute space = shared(text).child("stamp").attribute("xml:space")) {
        text.append_copy(space);
    } else {
        text.append_attribute("xml:space") = "preserve";
    }
}

void Stamp::finish() {
    for (const auto& [owner, holder] : holders_) {
        if (holder) holder.parent().remove_child(holder);
    }
    holders_.clear();
}

const char* MarkName(Mark mark) {
    switch (mark) {
        case Mark::Insert:
            return "w:ins";
        case Mark::Delete:
            return "w:del";
        case Mark::MoveFrom:
            return "w:moveFrom";
        case Mark::MoveTo:
            return "w:moveTo";
    }
    return "w:ins";
}

namespace {

// A run's text becomes deleted text, also where it shows through Markup Compatibility (a
// symbol's fallback); a text box inside it is a story of its own and keeps its own.
void DeleteText(pugi::xml_node holder) {
    for (pugi::xml_node child : holder.children()) {
        if (Named(child, "w:t")) child.set_name("w:delText");
        if (Named(child, "w:instrText")) child.set_name("w:delInstrText");
        if (NamedOneOf(child, {"mc:AlternateContent", "mc:Choice", "mc:Fallback"})) {
            DeleteText(child);
        }
    }
}

}  // namespace

void MarkRun(pugi::xml_node run, Mark mark, Stamp& stamp) {
    if (Removing(mark)) DeleteText(run);
    pugi::xml_node wrapper = stamp.insertBefore(run.parent(), MarkName(mark), run);
    stamp.on(wrapper);
    wrapper.append_move(run);
}

namespace {

// The math objects whose structure (a fraction's bar, a radical's sign) only their control
// properties can mark: each keeps them in its own properties, "m:fPr" for "m:f".
bool IsMathObject(const pugi::xml_node& node) {
    return NamedOneOf(node, {"m:acc", "m:bar", "m:borderBox", "m:box", "m:d", "m:eqArr", "m:f",
                             "m:func", "m:groupChr", "m:limLow", "m:limUpp", "m:m", "m:nary",
                             "m:phant", "m:rad", "m:sPre", "m:sSub", "m:sSubSup", "m:sSup"});
}

// The object's control properties, made where a writer left them out: without them an inserted
// fraction rejected, or a deleted one accepted, would leave its empty skeleton behind.
void HoldControlProperties(pugi::xml_node object) {
    const std::string name = std::string(object.name()) + "Pr";
    pugi::xml_node properties = object.child(name.c_str());
    if (!properties) properties = object.prepend_child(name.c_str());
    if (!properties.child("m:ctrlPr")) properties.append_child("m:ctrlPr");
}

}  // namespace

void MarkRuns(pugi::xml_node root, Mark mark, Stamp& stamp) {
    if (Named(root, "w:r")) {
        MarkRun(root, mark, stamp);
        return;
    }
    std::vector<pugi::xml_node> runs, controls;
    std::vector<pugi::xml_node> pending{root};
    while (!pending.empty()) {
        const pugi::xml_node node = pending.back();
        pending.pop_back();
        for (pugi::xml_node child : node.children()) {
            if (KindOf(child) == ElementKind::Run) {  // an equation's runs too
                runs.push_back(child);
            } else if (Named(child, "m:ctrlPr")) {
                controls.push_back(child);  // an equation's fraction bar, brackets and the like
            } else if (child.type() == pugi::node_element && !Named(child, "w:pPr") &&
                       !Named(child, "w:rPr")) {
                if (IsMathObject(child)) HoldControlProperties(child);
                pending.push_back(child);
            }
        }
    }
    for (pugi::xml_node run : runs) MarkRun(run, mark, stamp);
    // Math control characters know only insertion and deletion, and the mark holds their
    // formatting: a control's properties are one of formatting, an insertion or a deletion.
    for (pugi::xml_node control : controls) {
        if (control.child("w:ins") || control.child("w:del")) continue;
        const pugi::xml_node properties = control.child("w:rPr");
        pugi::xml_node marked = control.prepend_child(Removing(mark) ? "w:del" : "w:ins");
        stamp.on(marked);
        if (properties) marked.append_move(properties);
    }
}

pugi::xml_node PropertiesOf(pugi::xml_node owner, const char* name) {
    if (pugi::xml_node found = owner.child(name)) return found;
    if (Named(owner, "w:pPr")) {
        // A paragraph mark's properties go before a section's and before a change record.
        for (const char* later : {"w:sectPr", "w:pPrChange"}) {
            if (pugi::xml_node next = owner.child(later))
                return owner.insert_child_before(name, next);
        }
        return owner.append_child(name);
    }
    if (Named(owner, "w:tr") && owner.child("w:tblPrEx")) {
        return owner.insert_child_after(name, owner.child("w:tblPrEx"));
    }
    return owner.prepend_child(name);
}

void MarkParagraphMark(pugi::xml_node paragraph, Mark mark, Stamp& stamp) {
    pugi::xml_node properties = PropertiesOf(PropertiesOf(paragraph, "w:pPr"), "w:rPr");
    stamp.on(properties.prepend_child(MarkName(mark)));
}

bool UnmarkParagraphMark(pugi::xml_node paragraph, Mark& was) {
    pugi::xml_node properties = paragraph.child("w:pPr").child("w:rPr");
    for (const Mark mark : {Mark::Insert, Mark::Delete, Mark::MoveFrom, Mark::MoveTo}) {
        if (pugi::xml_node found = properties.child(MarkName(mark))) {
            properties.remove_child(found);
            was = mark;
            return true;
        }
    }
    return false;
}

void MarkRow(pugi::xml_node row, Mark mark, Stamp& stamp) {
    if (!Named(row, "w:tr")) {
        // A content control around rows: each of its rows is marked.
        const pugi::xml_node inside = Named(row, "w:sdt") ? row.child("w:sdtContent") : row;
        for (const pugi::xml_node& tr : WrappedChildren(inside, "w:tr")) MarkRow(tr, mark, stamp);
        return;
    }
    const Mark rowMark = Removing(mark) ? Mark::Delete : Mark::Insert;
    stamp.on(PropertiesOf(row, "w:trPr").append_child(MarkName(rowMark)));
    std::vector<pugi::xml_node> paragraphs;
    CollectParagraphs(row, paragraphs);
    for (pugi::xml_node paragraph : paragraphs) {
        MarkRuns(paragraph, rowMark, stamp);
        MarkParagraphMark(paragraph, rowMark, stamp);
    }
}

void MarkBlock(pugi::xml_node block, Mark mark, Stamp& stamp, int move) {
    if (Named(block, "w:p")) {
        MarkRuns(block, mark, stamp);
        MarkParagraphMark(block, mark, stamp);
        if (move) AddMoveRange(block, mark, stamp, move);
        return;
    }
    if (Named(block, "w:tbl")) {
        for (pugi::xml_node row : WrappedChildren(block, "w:tr")) MarkRow(row, mark, stamp);
        return;
    }
    std::vector<pugi::xml_node> paragraphs;
    CollectParagraphs(block, paragraphs);
    // A moved control: each of its paragraphs lies in a range of the move, as moved text must.
    for (pugi::xml_node paragraph : paragraphs) MarkBlock(paragraph, mark, stamp, move);
}

}  // namespace redline
