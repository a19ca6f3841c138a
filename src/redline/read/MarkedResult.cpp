#include "redline/MarkedResult.h"

#include <map>
#include <memory>

#include "redline/io/Revisions.h"
#include "redline/io/Xml.h"
#include "redline/read/MarkedReading.h"
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

// The marks of the model are the report's spans' kinds, in one order.
SpanKind KindOf(const Revision& mark) {
    return static_cast<SpanKind>(mark.kind);
}

// Joins a span to the one before it when they read as one.
void Add(MarkedParagraph& out, Span span) {
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

// Whether the paragraph shows in each document: a paragraph whose mark went joins the next one
// on that side, and shares its number there, when anything of it is left.
void Number(MarkedParagraph& p, std::uint32_t& original, std::uint32_t& revised) {
    const bool endsInOriginal = p.end != SpanKind::Inserted && p.end != SpanKind::MovedTo;
    const bool endsInRevised = p.end != SpanKind::Deleted && p.end != SpanKind::MovedFrom;
    bool showsOriginal = endsInOriginal, showsRevised = endsInRevised;
    for (const Span& span : p.spans) {
        showsOriginal |= span.kind == SpanKind::Plain || span.kind == SpanKind::Deleted ||
                         span.kind == SpanKind::MovedFrom;
        showsRevised |= span.kind == SpanKind::Plain || span.kind == SpanKind::Inserted ||
                        span.kind == SpanKind::MovedTo;
    }
    p.original = showsOriginal ? original : 0;
    p.revised = showsRevised ? revised : 0;
    original += endsInOriginal;
    revised += endsInRevised;
}

// Reads every story of one marked result, numbering notes, comments and text boxes as their
// references come.
class MarkedReader {
  public:
    MarkedReader(const DocumentSide& side, const PartSource& parts) : side_(side), parts_(parts) {}

    MarkedDocument read() {
        const pugi::xml_node body = side_.main.xml.child("w:document").child("w:body");
        stories_.push_back({Part::Body, "Body", blocks(body), {}});
        for (const pugi::xml_node& section : Sections(body)) {
            Reformatted(section, "w:sectPrChange", "section: ", stories_.front().reformatted);
        }
        headersAndFooters(body);
        notes("footnote", Part::Footnote, footnotes_);
        notes("endnote", Part::Endnote, endnotes_);
        comments();
        for (std::size_t i = 0; i < boxes_.size(); ++i) {
            stories_.push_back(
                {Part::TextBox, "Text box " + std::to_string(i + 1), std::move(boxes_[i]), {}});
        }
        return {std::move(stories_), std::move(authors_)};
    }

  private:
    std::vector<MarkedBlock> blocks(const pugi::xml_node& container) {
        KeyTable keys;
        NoObjectKeys objects;
        const Story story = StoryReader(keys, objects).withoutHashes().read(container);
        std::vector<MarkedBlock> out;
        std::uint32_t original = 1, revised = 1;
        collect(story, out, original, revised);
        return out;
    }

    void collect(const Story& story, std::vector<MarkedBlock>& out, std::uint32_t& original,
                 std::uint32_t& revised) {
        for (const Block& block : story.blocks) {
            if (block.content) {
                MarkedBlock marked;
                marked.paragraph = paragraph(*block.content);
                Number(marked.paragraph, original, revised);
                out.push_back(std::move(marked));
            } else if (block.kind == BlockKind::Table) {
                out.push_back(table(block, original, revised));
            } else if (block.inside) {
                collect(*block.inside, out, original, revised);
            }
        }
    }

    MarkedBlock table(const Block& block, std::uint32_t& original, std::uint32_t& revised) {
        MarkedBlock out;
        out.table = true;
        auto& reformatted = out.reformatted;
        Reformatted(block.node.child("w:tblPr"), "w:tblPrChange", "table ", reformatted);
        if (const pugi::xml_node grid = block.node.child("w:tblGrid").child("w:tblGridChange"))
            reformatted.push_back({"table columns", grid.attribute("w:id").as_int()});
        for (const Row& row : block.rows) {
            for (std::size_t c = 0; c < row.cells.size();) {
                const pugi::xml_node tr = row.cells[c].tr;
                MarkedRow marked = markedRow(tr, reformatted);
                for (; c < row.cells.size() && row.cells[c].tr == tr; ++c) {
                    const Cell& cell = row.cells[c];
                    Reformatted(cell.node.child("w:tcPr"), "w:tcPrChange", "cell ", reformatted);
                    marked.cells.emplace_back();
                    collect(cell.story, marked.cells.back(), original, revised);
                }
                out.rows.push_back(std::move(marked));
            }
        }
        return out;
    }

    MarkedRow markedRow(const pugi::xml_node& tr, std::vector<Reformatting>& reformatted) {
        MarkedRow row;
        const pugi::xml_node properties = tr.child("w:trPr");
        Reformatted(properties, "w:trPrChange", "row ", reformatted);
        for (const pugi::xml_node& mark : properties.children()) {
            const Revision revision = RevisionOf(mark);
            if (revision.kind == MarkKind::None) continue;
            row.kind = KindOf(revision);
            row.mark = revision.id();
            noteAuthor(revision);
        }
        return row;
    }

    MarkedParagraph paragraph(const Paragraph& content) {
        MarkedParagraph out;
        if (content.end.kind != MarkKind::None) {
            out.end = KindOf(content.end);
            out.endMark = content.end.id();
            noteAuthor(content.end);
        }
        if (const pugi::xml_node change = content.node.child("w:pPr").child("w:pPrChange")) {
            out.restyled = change.attribute("w:id").as_int();
            authors_[out.restyled] = Attribute(change, "w:author");
        }
        for (const Inline& piece : content.inlines) span(content, piece, out);
        return out;
    }

    void span(const Paragraph& content, const Inline& piece, MarkedParagraph& out) {
        Span span{KindOf(piece.mark), "", false, piece.mark.id()};
        noteAuthor(piece.mark);
        if (piece.run) {
            if (const pugi::xml_node change = piece.run.child("w:rPr").child("w:rPrChange")) {
                span.reformatted = true;
                if (!span.mark) span.mark = change.attribute("w:id").as_int();
                authors_[change.attribute("w:id").as_int()] = Attribute(change, "w:author");
            }
        }
        switch (piece.kind) {
            case InlineKind::NoteReference: {
                span.noteEnd = Named(piece.node, "w:endnoteReference");
                auto& list = span.noteEnd ? endnotes_ : footnotes_;
                list.push_back(Attribute(piece.node, "w:id"));
                span.note = static_cast<int>(list.size());
                break;
            }
            case InlineKind::CommentMark:
                if (!Named(piece.node, "w:commentReference")) return;
                comments_.push_back(Attribute(piece.node, "w:id"));
                span.comment = static_cast<int>(comments_.size());
                break;
            case InlineKind::Drawing:
            case InlineKind::Object:
                if (piece.place == Place::RunChild && boxes(piece.node, span)) break;
                span.text = kNothingShown;
                break;
            case InlineKind::Bookmark:
            case InlineKind::FieldPart:
            case InlineKind::Other:
                return;
            default:
                span.text = content.textOf(piece);
        }
        Add(out, std::move(span));
    }

    // The text boxes a shape holds, each a story of its own numbered as it comes; answers
    // whether there were any.
    bool boxes(const pugi::xml_node& shape, Span& span) {
        const auto contents = BoxContents(shape, ShapeForms::Shown);
        for (const pugi::xml_node& content : contents) {
            boxes_.emplace_back();
            const std::size_t index = boxes_.size() - 1;
            span.box = static_cast<int>(index + 1);
            auto blocksOfBox = blocks(content);
            boxes_[index] = std::move(blocksOfBox);
        }
        return !contents.empty();
    }

    // The change of `properties` recorded in their `changeName`, named after `what`.
    void Reformatted(const pugi::xml_node& properties, const char* changeName, const char* what,
                     std::vector<Reformatting>& out) {
        const pugi::xml_node change = properties.child(changeName);
        if (!change) return;
        const std::string named = NamedDifferences(change.first_child(), properties);
        if (named.empty()) return;
        out.push_back({what + named, change.attribute("w:id").as_int()});
        authors_[out.back().mark] = Attribute(change, "w:author");
    }

    void noteAuthor(const Revision& mark) {
        if (mark.kind != MarkKind::None) authors_[mark.id()] = mark.author();
    }

    void headersAndFooters(const pugi::xml_node& body);
    void notes(const char* kind, Part partKind, const std::vector<std::string>& ids);
    void comments();

    const DocumentSide& side_;
    const PartSource& parts_;
    std::vector<MarkedStory> stories_;
    std::map<int, std::string> authors_;
    std::vector<std::string> footnotes_, endnotes_, comments_;
    std::vector<std::vector<MarkedBlock>> boxes_;
};

void MarkedReader::headersAndFooters(const pugi::xml_node& body) {
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
            const PackagePart* part = parts_(name);
            if (!part) continue;
            const auto kind = kinds.find(Attribute(reference, "w:type"));
            stories_.push_back({header ? Part::Header : Part::Footer,
                                std::string(header ? "Header" : "Footer") +
                                    (kind == kinds.end() ? "" : kind->second),
                                blocks(part->xml.document_element()),
                                {}});
        }
    }
}

void MarkedReader::notes(const char* kind, Part partKind, const std::vector<std::string>& ids) {
    if (ids.empty()) return;
    const PackagePart* part = parts_(side_.partOfType(std::string("/") + kind + "s"));
    if (!part) return;
    const std::string element = std::string("w:") + kind;
    std::string title = kind;
    title[0] = static_cast<char>(title[0] - 'a' + 'A');
    // Notes cited inside notes are numbered on as they come.
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const pugi::xml_node note = part->xml.document_element().find_child_by_attribute(
            element.c_str(), "w:id", ids[i].c_str());
        if (!note) continue;
        stories_.push_back({partKind, title + " " + std::to_string(i + 1), blocks(note), {}});
    }
}

// Each comment whose reference the document shows, by its number and author.
void MarkedReader::comments() {
    if (comments_.empty()) return;
    const PackagePart* part = parts_(side_.partOfType("/comments"));
    if (!part) return;
    for (std::size_t i = 0; i < comments_.size(); ++i) {
        const pugi::xml_node comment = part->xml.document_element().find_child_by_attribute(
            "w:comment", "w:id", comments_[i].c_str());
        if (!comment) continue;
        const std::string author = Attribute(comment, "w:author");
        stories_.push_back(
            {Part::Comment,
             "Comment " + std::to_string(i + 1) + (author.empty() ? "" : " (by " + author + ")"),
             blocks(comment),
             {}});
    }
}

MarkedDocument ReadMarkedFile(const std::string& path) {
    DocumentSide side;
    LoadDocument(side, path);
    PartsInPackage parts(side);
    return ReadMarkedDocument(side, [&](const std::string& name) { return parts(name); });
}

}  // namespace

const PackagePart* PartsInPackage::operator()(const std::string& name) {
    if (name.empty()) return nullptr;
    auto [found, added] = parts_.try_emplace(name);
    if (added) {
        found->second = std::make_unique<PackagePart>();
        if (!LoadPart(side_.package, name, *found->second)) found->second.reset();
    }
    return found->second.get();
}

MarkedDocument ReadMarkedDocument(const DocumentSide& side, const PartSource& parts) {
    return MarkedReader(side, parts).read();
}

std::vector<MarkedStory> ReadMarked(const std::string& path) {
    return ReadMarkedFile(path).stories;
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
