#include "redline/MarkedResult.h"

#include <cstring>
#include <map>

#include "redline/io/Elements.h"
#include "redline/io/Revisions.h"
#include "redline/io/Xml.h"
#include "redline/read/Document.h"
#include "redline/read/NestedStories.h"
#include "redline/read/PropertyNames.h"
#include "redline/read/Sections.h"
#include "redline/read/ShownText.h"
#include "redline/read/Story.h"

namespace redline {

bool MarkedParagraph::changed() const {
    if (end != SpanKind::Plain || restyled) return true;
    for (const Span& span : spans) {
        if (span.kind != SpanKind::Plain || span.reformatted) return true;
    }
    return false;
}

namespace {

SpanKind KindOfMark(const pugi::xml_node& node) {
    const ElementKind kind = KindOf(node);
    if (kind != ElementKind::Adding && kind != ElementKind::Removing) return SpanKind::Plain;
    if (Named(node, "w:ins")) return SpanKind::Inserted;
    if (Named(node, "w:del")) return SpanKind::Deleted;
    if (Named(node, "w:moveFrom")) return SpanKind::MovedFrom;
    if (Named(node, "w:moveTo")) return SpanKind::MovedTo;
    return SpanKind::Plain;
}

// Reads every story of one package, numbering notes and text boxes as their references come.
class MarkedReader {
  public:
    explicit MarkedReader(const std::string& path) { LoadDocument(side_, path); }

    std::vector<MarkedStory> read() {
        const pugi::xml_node body = side_.main.xml.child("w:document").child("w:body");
        stories_.push_back({Part::Body, "Body", {}, {}});
        stories_.back().blocks = blocks(body, side_.main);
        for (const pugi::xml_node& section : Sections(body)) {
            Reformatted(section, "w:sectPrChange", "section: ", stories_.back().reformatted);
        }
        headersAndFooters(body);
        notes("footnote", Part::Footnote, footnotes_);
        notes("endnote", Part::Endnote, endnotes_);
        comments();
        for (std::size_t i = 0; i < boxes_.size(); ++i) {
            stories_.push_back(
                {Part::TextBox, "Text box " + std::to_string(i + 1), std::move(boxes_[i]), {}});
        }
        return std::move(stories_);
    }

  private:
    std::vector<MarkedBlock> blocks(const pugi::xml_node& container, const PackagePart& part) {
        std::vector<MarkedBlock> out;
        std::uint32_t original = 1, revised = 1;
        collect(container, part, out, original, revised);
        return out;
    }

    void collect(const pugi::xml_node& container, const PackagePart& part,
                 std::vector<MarkedBlock>& out, std::uint32_t& original, std::uint32_t& revised) {
        for (const pugi::xml_node& child : container.children()) {
            if (Named(child, "w:p")) {
                MarkedBlock block;
                block.paragraph = paragraph(child, part);
                MarkedParagraph& p = block.paragraph;
                // A paragraph whose mark went joins the next one on that side: it shares the
                // next one's number there, when anything of it is left.
                const bool endsInOriginal =
                    p.end != SpanKind::Inserted && p.end != SpanKind::MovedTo;
                const bool endsInRevised =
                    p.end != SpanKind::Deleted && p.end != SpanKind::MovedFrom;
                bool showsOriginal = endsInOriginal, showsRevised = endsInRevised;
                for (const Span& span : p.spans) {
                    showsOriginal |= span.kind == SpanKind::Plain ||
                                     span.kind == SpanKind::Deleted ||
                                     span.kind == SpanKind::MovedFrom;
                    showsRevised |= span.kind == SpanKind::Plain ||
                                    span.kind == SpanKind::Inserted ||
                                    span.kind == SpanKind::MovedTo;
                }
                p.original = showsOriginal ? original : 0;
                p.revised = showsRevised ? revised : 0;
                original += endsInOriginal;
                revised += endsInRevised;
                out.push_back(std::move(block));
            } else if (Named(child, "w:tbl")) {
                MarkedBlock block;
                block.table = true;
                auto& reformatted = block.reformatted;
                Reformatted(child.child("w:tblPr"), "w:tblPrChange", "table ", reformatted);
                if (const pugi::xml_node grid = child.child("w:tblGrid").child("w:tblGridChange"))
                    reformatted.push_back({"table columns", grid.attribute("w:id").as_int()});
                for (const pugi::xml_node& tr : WrappedChildren(child, "w:tr")) {
                    MarkedRow row;
                    const pugi::xml_node trPr = tr.child("w:trPr");
                    Reformatted(trPr, "w:trPrChange", "row ", reformatted);
                    for (const pugi::xml_node& mark : trPr.children()) {
                        if (KindOfMark(mark) == SpanKind::Plain) continue;
                        row.kind = KindOfMark(mark);
                        row.mark = mark.attribute("w:id").as_int();
                    }
                    for (const pugi::xml_node& tc : WrappedChildren(tr, "w:tc")) {
                        Reformatted(tc.child("w:tcPr"), "w:tcPrChange", "cell ", reformatted);
                        row.cells.emplace_back();
                        collect(tc, part, row.cells.back(), original, revised);
                    }
                    block.rows.push_back(std::move(row));
                }
                out.push_back(std::move(block));
            } else if (Named(child, "w:sdt")) {
                collect(child.child("w:sdtContent"), part, out, original, revised);
            } else if (Named(child, "w:customXml")) {
                collect(child, part, out, original, revised);
            }
        }
    }

    // The change of `properties` recorded in their `changeName`, named after `what`.
    static void Reformatted(const pugi::xml_node& properties, const char* changeName,
                            const char* what, std::vector<Reformatting>& out) {
        const pugi::xml_node change = properties.child(changeName);
        if (!change) return;
        const std::string named = NamedDifferences(change.first_child(), properties);
        if (!named.empty()) out.push_back({what + named, change.attribute("w:id").as_int()});
    }

    MarkedParagraph paragraph(const pugi::xml_node& p, const PackagePart& part) {
        MarkedParagraph out;
        const pugi::xml_node properties = p.child("w:pPr");
        for (const pugi::xml_node& mark : properties.child("w:rPr").children()) {
            if (KindOfMark(mark) != SpanKind::Plain) {
                out.end = KindOfMark(mark);
                out.endMark = mark.attribute("w:id").as_int();
            }
        }
        if (const pugi::xml_node change = properties.child("w:pPrChange")) {
            out.restyled = change.attribute("w:id").as_int();
        }
        inline_(p, part, SpanKind::Plain, 0, out);
        return out;
    }

    void add(MarkedParagraph& out, Span span) {
        if (!out.spans.empty() && span.text.size() && !span.note && !span.box && !span.comment) {
            Span& last = out.spans.back();
            if (last.kind == span.kind && last.reformatted == span.reformatted &&
                last.mark == span.mark && !last.note && !last.box && !last.comment) {
                last.text += span.text;
                return;
            }
        }
        out.spans.push_back(std::move(span));
    }

    // The text below `node`, under the mark `kind` with change id `mark`.
    void inline_(const pugi::xml_node& node, const PackagePart& part, SpanKind kind, int mark,
                 MarkedParagraph& out) {
        for (const pugi::xml_node& child : node.children()) {
            if (child.type() != pugi::node_element || Named(child, "w:pPr") ||
                Named(child, "mc:Fallback")) {
                continue;
            }
            const SpanKind marked = KindOfMark(child);
            if (marked != SpanKind::Plain) {
                inline_(child, part, marked, child.attribute("w:id").as_int(), out);
            } else if (KindOf(child) == ElementKind::Run) {  // an equation's runs too
                run(child, part, kind, mark, out);
            } else {
                inline_(child, part, kind, mark, out);
            }
        }
    }

    void run(const pugi::xml_node& r, const PackagePart& part, SpanKind kind, int mark,
             MarkedParagraph& out) {
        const pugi::xml_node change = r.child("w:rPr").child("w:rPrChange");
        for (const pugi::xml_node& child : r.children()) {
            Span span{kind, "", static_cast<bool>(change), mark};
            if (change && !mark) span.mark = change.attribute("w:id").as_int();
            const ElementKind element = KindOf(child);
            if (element == ElementKind::Text || element == ElementKind::Tab ||
                element == ElementKind::Break || element == ElementKind::NoBreakHyphen) {
                span.text = ShownText(child);
            } else if (element == ElementKind::NoteReference) {
                const bool end = Named(child, "w:endnoteReference");
                auto& list = end ? endnotes_ : footnotes_;
                list.push_back(child.attribute("w:id").value());
                span.note = static_cast<int>(list.size());
                span.noteEnd = end;
            } else if (Named(child, "w:commentReference")) {
                comments_.push_back(child.attribute("w:id").value());
                span.comment = static_cast<int>(comments_.size());
            } else if (element == ElementKind::Object) {
                const auto contents = BoxContents(child, ShapeForms::Shown);
                if (contents.empty()) {
                    span.text = "\u25A1";  // a picture or object: a square stands for it
                } else {
                    for (const pugi::xml_node& content : contents) {
                        boxes_.emplace_back();
                        const std::size_t index = boxes_.size() - 1;
                        span.box = static_cast<int>(index + 1);
                        auto blocksOfBox = blocks(content, part);
                        boxes_[index] = std::move(blocksOfBox);
                    }
                }
            } else {
                continue;
            }
            add(out, std::move(span));
        }
    }

    void headersAndFooters(const pugi::xml_node& body) {
        std::map<std::string, bool> done;
        static const std::map<std::string, std::string> kinds = {
            {"default", ""}, {"first", " (first page)"}, {"even", " (even pages)"}};
        for (const pugi::xml_node& section : Sections(body)) {
            for (const pugi::xml_node& reference : section.children()) {
                const bool header = Named(reference, "w:headerReference");
                if (!header && !Named(reference, "w:footerReference")) continue;
                const Relationship* relationship =
                    side_.main.relationships.find(Attribute(reference, "r:id"));
                if (!relationship) continue;
                const std::string name = side_.main.relationships.partOf(*relationship);
                if (done[name]) continue;
                done[name] = true;
                auto part = std::make_unique<PackagePart>();
                if (!LoadPart(side_.package, name, *part)) continue;
                const auto kind = kinds.find(Attribute(reference, "w:type"));
                stories_.push_back({header ? Part::Header : Part::Footer,
                                    std::string(header ? "Header" : "Footer") +
                                        (kind == kinds.end() ? "" : kind->second),
                                    blocks(part->xml.document_element(), *part),
                                    {}});
                parts_.push_back(std::move(part));
            }
        }
    }

    void notes(const char* kind, Part partKind, const std::vector<std::string>& ids) {
        if (ids.empty()) return;
        const std::string name = side_.partOfType(std::string("/") + kind + "s");
        auto part = std::make_unique<PackagePart>();
        if (name.empty() || !LoadPart(side_.package, name, *part)) return;
        const std::string element = std::string("w:") + kind;
        for (std::size_t i = 0; i < ids.size(); ++i) {
            const pugi::xml_node note = part->xml.document_element().find_child_by_attribute(
                element.c_str(), "w:id", ids[i].c_str());
            if (!note) continue;
            std::string title = kind;
            title[0] = static_cast<char>(title[0] - 'a' + 'A');
            stories_.push_back(
                {partKind, title + " " + std::to_string(i + 1), blocks(note, *part), {}});
        }
        parts_.push_back(std::move(part));
    }

    // Each comment whose reference the document shows, by its number and author.
    void comments() {
        if (comments_.empty()) return;
        const std::string name = side_.partOfType("/comments");
        auto part = std::make_unique<PackagePart>();
        if (name.empty() || !LoadPart(side_.package, name, *part)) return;
        for (std::size_t i = 0; i < comments_.size(); ++i) {
            const pugi::xml_node comment = part->xml.document_element().find_child_by_attribute(
                "w:comment", "w:id", comments_[i].c_str());
            if (!comment) continue;
            const std::string author = Attribute(comment, "w:author");
            stories_.push_back({Part::Comment,
                                "Comment " + std::to_string(i + 1) +
                                    (author.empty() ? "" : " (by " + author + ")"),
                                blocks(comment, *part),
                                {}});
        }
        parts_.push_back(std::move(part));
    }

    DocumentSide side_;
    std::vector<MarkedStory> stories_;
    std::vector<std::string> footnotes_, endnotes_, comments_;
    std::vector<std::vector<MarkedBlock>> boxes_;
    std::vector<std::unique_ptr<PackagePart>> parts_;
};

}  // namespace

std::vector<MarkedStory> ReadMarked(const std::string& path) {
    return MarkedReader(path).read();
}

std::map<int, std::string> ChangeAuthors(const std::string& path) {
    const Package package = Package::Read(path);
    std::map<int, std::string> authors;
    for (const std::string& name : package.names()) {
        if (!name.starts_with("word/") || !name.ends_with(".xml")) continue;
        pugi::xml_document part;
        ParsePart(part, package.part(name), name, package.namespaces());
        part.find_node([&](const pugi::xml_node& node) {
            if (pugi::xml_attribute author = node.attribute("w:author");
                author && IsRevisionMark(node)) {
                authors[node.attribute("w:id").as_int()] = author.value();
            }
            return false;
        });
    }
    return authors;
}

}  // namespace redline
