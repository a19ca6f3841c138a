#include "redline/read/Paragraph.h"

#include <algorithm>

#include "redline/io/Elements.h"
#include "redline/io/Xml.h"
#include "redline/read/Canonical.h"
#include "redline/read/Fields.h"
#include "redline/read/InlineUnits.h"
#include "redline/read/NestedStories.h"
#include "redline/read/ShownText.h"
#include "redline/read/Units.h"
#include "redline/read/Words.h"

namespace redline {

namespace {

std::uint64_t Fnv(std::string_view text, std::uint64_t hash = 14695981039346656037ull) {
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// What a child of a run is, as a reader knows it.
InlineKind KindInRun(const pugi::xml_node& element, ElementKind kind) {
    switch (kind) {
        case ElementKind::Tab:
            return InlineKind::Tab;
        case ElementKind::Break:
            return InlineKind::Break;
        case ElementKind::NoBreakHyphen:
            return InlineKind::NoBreakHyphen;
        case ElementKind::Symbol:
            return InlineKind::Symbol;
        case ElementKind::NoteReference:
            return InlineKind::NoteReference;
        case ElementKind::FieldCharacter:
        case ElementKind::FieldCode:
            return InlineKind::FieldPart;
        case ElementKind::Object:
            return Named(element, "w:drawing") ? InlineKind::Drawing : InlineKind::Object;
        case ElementKind::Equation:
            return InlineKind::Equation;
        default:
            return InlineKind::Other;
    }
}

// What a marker is: a comment's, or a bookmark's, a permission's or a move's range.
InlineKind MarkerKind(const pugi::xml_node& marker) {
    return NamedOneOf(marker, {"w:commentRangeStart", "w:commentRangeEnd", "w:commentReference"})
               ? InlineKind::CommentMark
               : InlineKind::Bookmark;
}

// What a range of siblings compared as one unit is.
InlineKind RangeKind(const pugi::xml_node& first) {
    if (Named(first, "w:r") || Named(first, "w:fldSimple")) return InlineKind::Field;
    if (Named(first, "w:sdt")) return InlineKind::Control;
    const ElementKind kind = KindOf(first);
    if (kind == ElementKind::Equation) return InlineKind::Equation;
    return kind == ElementKind::Object ? InlineKind::Object : InlineKind::Other;
}

// The first tracked change inside the range, for a unit copied whole into a marked result,
// whose runs each carry the mark.
Revision MarkInside(const pugi::xml_node& first, const pugi::xml_node& last) {
    for (pugi::xml_node node = first; node; node = node.next_sibling()) {
        const pugi::xml_node mark = node.find_node([](const pugi::xml_node& n) {
            const ElementKind kind = KindOf(n);
            return kind == ElementKind::Adding || kind == ElementKind::Removing;
        });
        if (mark) return RevisionOf(mark);
        if (node == last) break;
    }
    return {};
}

class ParagraphReader {
  public:
    // Reads into buffers of its own, kept in the arena once the paragraph is read.
    struct Buffers {
        std::string stream, shown;
        std::vector<Inline> inlines;
    };

    ParagraphReader(Buffers& out, KeyTable& keys, ObjectKeys& objects)
        : out_(out), inlines_(out.inlines), keys_(keys), objects_(objects) {}

    void walk(const pugi::xml_node& parent, const pugi::xml_node& wrapper) {
        for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element || Named(child, "w:pPr") ||
                NamedOneOf(child, {"w:proofErr", "w:smartTagPr", "w:customXmlPr"})) {
                continue;
            }
            if (Named(child, "w:r")) {
                child = readRunOrField(child, wrapper);
            } else if (Named(child, "w:hyperlink")) {
                // A link's words are only equal where the link leads to the same place.
                const std::uint32_t outer = link_;
                link_ = keys_.key("link:" + objects_.describe(Shallow(child)));
                walk(child, child);
                link_ = outer;
            } else if (NamedOneOf(child, {"w:smartTag", "w:customXml", "w:dir", "w:bdo"})) {
                walk(child, wrapper);  // transparent: their content is compared as it is
            } else if (const ElementKind kind = KindOf(child);
                       kind == ElementKind::Adding || kind == ElementKind::Removing) {
                // A tracked change: its content is read under its mark.
                const Revision outer = mark_;
                mark_ = RevisionOf(child);
                walk(child, wrapper);
                mark_ = outer;
            } else if (kind == ElementKind::Marker) {  // bookmarks, comment ranges
                addMarker(child, {}, wrapper);
            } else if (Named(child, "w:sdt") && !wrapper && ComparedInside(child)) {
                // A text control's words are compared as a link's are: equal only inside an
                // equal control, which is written around them again.
                const std::uint32_t outer = link_;
                link_ = keys_.key("control:" + objects_.describe(child.child("w:sdtPr")));
                walk(child.child("w:sdtContent"), child.child("w:sdtContent"));
                link_ = outer;
            } else if (Named(child, "w:fldSimple") && keys_.like().anyField) {
                addRange(child, child, "field:", wrapper, true);
            } else if (NamedOneOf(child, {"w:fldSimple", "w:sdt"})) {
                addRange(child, child,
                         std::string(child.name()) + ":" + Attribute(child, "w:instr") + "|" +
                             objects_.describe(child.child("w:sdtPr")) + "|" + ShownText(child),
                         wrapper);
            } else {
                addRange(child, child, objects_.describe(child), wrapper);  // equations, others
            }
        }
    }

  private:
    // Reads a run, or the field that it begins with the runs up to the field's end; answers the
    // last run read.
    pugi::xml_node readRunOrField(const pugi::xml_node& run, const pugi::xml_node& wrapper) {
        const pugi::xml_node end = FieldEnd(run);
        if (!end) {
            readRun(run, wrapper);
            return run;
        }
        const bool anyField = keys_.like().anyField;
        const std::string what =
            anyField ? std::string() : FieldInstruction(run, end) + "|" + FieldResult(run, end);
        addRange(run, end, "field:" + what + FieldExtras(run, end, objects_), wrapper, anyField);
        return end;
    }

    void readRun(const pugi::xml_node& run, const pugi::xml_node& wrapper) {
        for (const pugi::xml_node& child : run.children()) {
            const ElementKind kind = KindOf(child);
            if (child.type() != pugi::node_element || kind == ElementKind::Properties ||
                Named(child, "w:lastRenderedPageBreak")) {
                continue;
            }
            if (kind == ElementKind::Text) {
                addText(child, run, wrapper);
            } else if (kind == ElementKind::Marker) {  // a comment's reference
                addMarker(child, run, wrapper);
            } else {
                Inline piece{Place::RunChild, KindInRun(child, kind)};
                piece.node = child;
                piece.run = run;
                piece.wrapper = wrapper;
                piece.look = lookOf(run);
                addObject(piece, objects_.describe(child));
            }
        }
    }

    void addText(const pugi::xml_node& text, const pugi::xml_node& run,
                 const pugi::xml_node& wrapper) {
        const std::string_view characters = text.text().get();
        if (characters.empty()) return;
        Inline piece{Place::Text, InlineKind::Text};
        piece.begin = static_cast<std::uint32_t>(out_.stream.size());
        out_.stream += characters;
        // The mark that stands for an object never stands for a character of text.
        std::replace(out_.stream.begin() + piece.begin, out_.stream.end(), kObjectMark, ' ');
        piece.end = static_cast<std::uint32_t>(out_.stream.size());
        piece.node = text;
        piece.run = run;
        piece.wrapper = wrapper;
        piece.link = link_;
        piece.look = lookOf(run);
        piece.mark = mark_;
        inlines_.push_back(piece);
    }

    // A hash of how the run's properties look, read once for all its inlines; 0 where keys
    // are not wanted.
    std::uint64_t lookOf(const pugi::xml_node& run) {
        if (!objects_.wanted()) return 0;
        if (run != lookRun_) {
            lookRun_ = run;
            look_ = Fnv(CanonicalProperties(run.child("w:rPr")));
        }
        return look_;
    }

    // `lookless`: the unit compares without its formatting (a field whatever it shows).
    void addRange(const pugi::xml_node& first, const pugi::xml_node& last, const std::string& key,
                  const pugi::xml_node& wrapper = {}, bool lookless = false) {
        Inline piece{Place::Range, RangeKind(first)};
        piece.node = first;
        piece.last = last;
        piece.wrapper =
            wrapper ? wrapper
                    : (Named(first.parent(), "w:hyperlink") ? first.parent() : pugi::xml_node());
        // A unit's runs are copied whole, never reformatted: how they look is part of what it is.
        // However its runs are cut: each change of properties is told once.
        std::string look, previous = "\x03";
        for (pugi::xml_node node = first; !lookless && objects_.wanted();
             node = node.next_sibling()) {
            for (const pugi::xpath_node& run : node.select_nodes("descendant-or-self::w:r")) {
                std::string properties = CanonicalProperties(run.node().child("w:rPr"));
                if (properties != previous) look += properties + "|";
                previous = std::move(properties);
            }
            if (node == last) break;
        }
        addObject(piece, key + "\x02" + look);
    }

    void addObject(Inline& piece, const std::string& key) {
        piece.link = link_;
        piece.mark = mark_.kind == MarkKind::None && piece.place == Place::Range
                         ? MarkInside(piece.node, piece.last)
                         : mark_;
        piece.begin = static_cast<std::uint32_t>(out_.stream.size());
        out_.stream += kObjectMark;
        piece.end = piece.begin + 1;
        piece.object = keys_.key(key);
        std::string shown;
        for (pugi::xml_node node = piece.node; node; node = node.next_sibling()) {
            AppendShownText(node, shown);
            if (piece.place != Place::Range || node == piece.last) break;
        }
        // A text box's paragraphs stand on lines of their own, the first one too.
        const bool shape = piece.kind == InlineKind::Drawing || piece.kind == InlineKind::Object;
        if (shape && !shown.empty() && HoldsTextBox(piece.node)) shown.insert(0, 1, '\n');
        piece.shownBegin = static_cast<std::uint32_t>(out_.shown.size());
        out_.shown += shown;
        piece.shownEnd = static_cast<std::uint32_t>(out_.shown.size());
        inlines_.push_back(piece);
    }

    void addMarker(const pugi::xml_node& node, const pugi::xml_node& run,
                   const pugi::xml_node& wrapper) {
        Inline piece{Place::Marker, MarkerKind(node)};
        piece.begin = piece.end = static_cast<std::uint32_t>(out_.stream.size());
        piece.node = node;
        piece.run = run;
        piece.wrapper = wrapper;
        piece.link = link_;
        piece.mark = mark_;
        inlines_.push_back(piece);
    }

    // The element with its attributes alone, for keys of what wraps content.
    pugi::xml_node Shallow(const pugi::xml_node& node) {
        shallow_.reset();
        pugi::xml_node copy = shallow_.append_child(node.name());
        for (const pugi::xml_attribute& attribute : node.attributes()) {
            copy.append_attribute(attribute.name()) = attribute.value();
        }
        return copy;
    }

    Buffers& out_;
    std::vector<Inline>& inlines_;
    KeyTable& keys_;
    ObjectKeys& objects_;
    std::uint32_t link_ = 0;  // the key of the link being read, or 0
    Revision mark_{};         // the tracked change being read, or none
    pugi::xml_node lookRun_;  // the run whose look was keyed last, and its key
    std::uint64_t look_ = 0;
    pugi::xml_document shallow_;
};

}  // namespace

Revision RevisionOf(const pugi::xml_node& mark) {
    Revision revision{MarkKind::None, mark};
    if (Named(mark, "w:ins")) {
        revision.kind = MarkKind::Inserted;
    } else if (Named(mark, "w:del")) {
        revision.kind = MarkKind::Deleted;
    } else if (Named(mark, "w:moveFrom")) {
        revision.kind = MarkKind::MovedFrom;
    } else if (Named(mark, "w:moveTo")) {
        revision.kind = MarkKind::MovedTo;
    } else {
        revision.node = {};
    }
    return revision;
}

Revision ParagraphMarkRevision(const pugi::xml_node& paragraph) {
    Revision found;
    for (const pugi::xml_node& mark : paragraph.child("w:pPr").child("w:rPr").children()) {
        if (const Revision revision = RevisionOf(mark); revision.kind != MarkKind::None) {
            found = revision;
        }
    }
    return found;
}

Paragraph ReadParagraph(const pugi::xml_node& paragraph, KeyTable& keys, ObjectKeys& objects,
                        ParagraphArena* arena) {
    Paragraph content;
    content.node = paragraph;
    content.end = ParagraphMarkRevision(paragraph);
    if (objects.wanted()) content.look = Fnv(CanonicalParagraphProperties(paragraph));
    if (!arena) {
        auto own = std::make_shared<ParagraphArena>();
        arena = own.get();
        content.own = std::move(own);
    }
    // Read into buffers of this thread, then kept in the arena.
    thread_local ParagraphReader::Buffers buffers;
    buffers.stream.clear();
    buffers.shown.clear();
    buffers.inlines.clear();
    ParagraphReader(buffers, keys, objects).walk(paragraph, {});
    content.stream = arena->keepText(buffers.stream);
    content.shown = arena->keepText(buffers.shown);
    content.inlines = arena->inlines.keep(buffers.inlines);
    return content;
}

std::uint64_t TextHash(const Paragraph& content, KeyTable& keys) {
    if (keys.like().any()) {
        // Alike where their units' keys are, which fold case and blanks.
        std::uint64_t hash = 14695981039346656037ull;
        for (const std::uint32_t key : UnitsOf(content, keys).keys) {
            hash = Fnv(std::string_view(reinterpret_cast<const char*>(&key), sizeof key), hash);
        }
        return hash;
    }
    std::uint64_t hash = Fnv(content.stream);
    std::uint32_t link = 0;
    for (const Inline& piece : content.inlines) {
        if (piece.object)
            hash = Fnv(std::to_string(piece.object) + "@" + std::to_string(piece.begin), hash);
        if (piece.place != Place::Marker && piece.link != link) {
            link = piece.link;  // where a link begins or ends, and where it leads
            hash = Fnv("link" + std::to_string(link) + "@" + std::to_string(piece.begin), hash);
        }
    }
    return hash;
}

std::uint64_t LookHash(const Paragraph& content, std::uint64_t textHash) {
    auto mix = [](std::uint64_t hash, std::uint64_t value) {
        return Fnv(std::string_view(reinterpret_cast<const char*>(&value), sizeof value), hash);
    };
    std::uint64_t hash = mix(textHash, content.look);
    // Where the formatting changes, and to what: runs cut elsewhere that look the same hash the
    // same.
    std::uint64_t before = 0;
    for (const Inline& piece : content.inlines) {
        if (piece.place != Place::Text && piece.place != Place::RunChild) continue;
        if (before == 0 || piece.look != before) {
            hash = mix(mix(hash, piece.begin), piece.look);
            before = piece.look;
        }
    }
    return hash;
}

}  // namespace redline
