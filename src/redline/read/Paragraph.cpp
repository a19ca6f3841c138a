#include "redline/read/Paragraph.h"

#include <algorithm>
#include <cstring>

#include "redline/io/Elements.h"
#include "redline/io/Xml.h"
#include "redline/read/InlineUnits.h"
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

class ParagraphReader {
  public:
    ParagraphReader(ParagraphContent& out, KeyTable& keys, ObjectKeys& objects)
        : out_(out), keys_(keys), objects_(objects) {}

    void walk(const pugi::xml_node& parent, const pugi::xml_node& wrapper) {
        for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element || Named(child, "w:pPr") ||
                NamedOneOf(child, {"w:proofErr", "w:smartTagPr", "w:customXmlPr"})) {
                continue;
            }
            if (Named(child, "w:r")) {
                if (const pugi::xml_node end = FieldEnd(child)) {
                    const std::string what =
                        keys_.like().anyField
                            ? std::string()
                            : FieldInstruction(child, end) + "|" + FieldResult(child, end);
                    addNodes(child, end, "field:" + what + FieldExtras(child, end), wrapper,
                             keys_.like().anyField);
                    child = end;
                } else {
                    readRun(child, wrapper);
                }
            } else if (Named(child, "w:hyperlink")) {
                // A link's words are only equal where the link leads to the same place.
                const std::uint32_t outer = link_;
                link_ = keys_.key("link:" + objects_.describe(Shallow(child)));
                walk(child, child);
                link_ = outer;
            } else if (NamedOneOf(child, {"w:smartTag", "w:customXml", "w:dir", "w:bdo"})) {
                walk(child, wrapper);  // transparent: their content is compared as it is
            } else if (KindOf(child) == ElementKind::Marker) {  // bookmarks, comment ranges
                addMarker(child, {}, wrapper);
            } else if (Named(child, "w:sdt") && !wrapper && ComparedInside(child)) {
                // A text control's words are compared as a link's are: equal only inside an
                // equal control, which is written around them again.
                const std::uint32_t outer = link_;
                link_ = keys_.key("control:" + objects_.describe(child.child("w:sdtPr")));
                walk(child.child("w:sdtContent"), child.child("w:sdtContent"));
                link_ = outer;
            } else if (Named(child, "w:fldSimple") && keys_.like().anyField) {
                addNodes(child, child, "field:", wrapper, true);
            } else if (NamedOneOf(child, {"w:fldSimple", "w:sdt"})) {
                const std::string text = TextOf(child);
                addNodes(child, child,
                         std::string(child.name()) + ":" + Attribute(child, "w:instr") + "|" +
                             objects_.describe(child.child("w:sdtPr")) + "|" + text,
                         wrapper);
            } else {
                addNodes(child, child, objects_.describe(child), wrapper);  // equations, others
            }
        }
    }

  private:
    void readRun(const pugi::xml_node& run, const pugi::xml_node& wrapper) {
        for (const pugi::xml_node& child : run.children()) {
            const ElementKind kind = KindOf(child);
            if (child.type() != pugi::node_element || kind == ElementKind::Properties ||
                Named(child, "w:lastRenderedPageBreak")) {
                continue;
            }
            if (kind == ElementKind::Text) {
                const std::string_view text = child.text().get();
                if (text.empty()) continue;
                Piece piece{PieceKind::Text};
                piece.begin = static_cast<std::uint32_t>(out_.stream.size());
                out_.stream += text;
                // The mark that stands for an object never stands for a character of text.
                std::replace(out_.stream.begin() + piece.begin, out_.stream.end(), kObjectMark,
                             ' ');
                piece.end = static_cast<std::uint32_t>(out_.stream.size());
                piece.node = child;
                piece.run = run;
                piece.wrapper = wrapper;
                piece.link = link_;
                out_.pieces.push_back(piece);
            } else if (kind == ElementKind::Marker) {  // a comment's reference
                addMarker(child, run, wrapper);
            } else {
                Piece piece{PieceKind::Element};
                piece.node = child;
                piece.run = run;
                piece.wrapper = wrapper;
                addObject(piece, objects_.describe(child));
            }
        }
    }

    // `lookless`: the unit compares without its formatting (a field whatever it shows).
    void addNodes(const pugi::xml_node& first, const pugi::xml_node& last, const std::string& key,
                  const pugi::xml_node& wrapper = {}, bool lookless = false) {
        Piece piece{PieceKind::Nodes};
        piece.node = first;
        piece.last = last;
        piece.wrapper =
            wrapper ? wrapper
                    : (Named(first.parent(), "w:hyperlink") ? first.parent() : pugi::xml_node());
        // A unit's runs are copied whole, never reformatted: how they look is part of what it is.
        // However its runs are cut: each change of properties is told once.
        std::string look, previous = "\x03";
        for (pugi::xml_node node = first; !lookless; node = node.next_sibling()) {
            for (const pugi::xpath_node& run : node.select_nodes("descendant-or-self::w:r")) {
                std::string properties = CanonicalProperties(run.node().child("w:rPr"));
                if (properties != previous) look += properties + "|";
                previous = std::move(properties);
            }
            if (node == last) break;
        }
        addObject(piece, key + "\x02" + look);
    }

    void addObject(Piece& piece, const std::string& key) {
        piece.link = link_;
        piece.begin = static_cast<std::uint32_t>(out_.stream.size());
        out_.stream += kObjectMark;
        piece.end = piece.begin + 1;
        piece.object = keys_.key(key);
        out_.pieces.push_back(piece);
    }

    void addMarker(const pugi::xml_node& node, const pugi::xml_node& run,
                   const pugi::xml_node& wrapper) {
        Piece piece{PieceKind::Marker};
        piece.begin = piece.end = static_cast<std::uint32_t>(out_.stream.size());
        piece.node = node;
        piece.run = run;
        piece.wrapper = wrapper;
        piece.link = link_;
        out_.pieces.push_back(piece);
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

    // A field's code, its runs joined and its spaces folded: a changed code is a changed field.
    static std::string FieldInstruction(const pugi::xml_node& first, const pugi::xml_node& last) {
        std::string code;
        for (pugi::xml_node run = first;; run = run.next_sibling()) {
            for (const pugi::xml_node& text : run.children("w:instrText"))
                code += text.text().get();
            if (run == last) break;
        }
        std::string folded;
        for (const char c : code) {
            if (c != ' ' || (!folded.empty() && folded.back() != ' ')) folded += c;
        }
        while (!folded.empty() && folded.back() == ' ') folded.pop_back();
        return folded;
    }

    static int FieldDepthChange(const pugi::xml_node& run, bool& began) {
        int change = 0;
        for (const pugi::xml_node& mark : run.children("w:fldChar")) {
            const std::string_view type = mark.attribute("w:fldCharType").value();
            if (type == "begin") {
                ++change;
                began = true;
            } else if (type == "end") {
                --change;
            }
        }
        return change;
    }

    // The run that ends the field that `run` begins, among its siblings; none when `run`
    // begins no field or the field does not end within the same parent.
    static pugi::xml_node FieldEnd(const pugi::xml_node& run) {
        bool began = false;
        int depth = FieldDepthChange(run, began);
        if (!began || depth <= 0) return {};
        for (pugi::xml_node next = run.next_sibling(); next; next = next.next_sibling()) {
            if (!Named(next, "w:r")) {
                if (next.find_node([](const pugi::xml_node& n) { return Named(n, "w:fldChar"); })) {
                    return {};
                }
                continue;
            }
            depth += FieldDepthChange(next, began);
            if (depth <= 0) return next;
        }
        return {};
    }

    // What else the field's runs hold beside the field itself (a picture in the run that begins
    // it, say), so that the field is only equal with the same company.
    std::string FieldExtras(const pugi::xml_node& first, const pugi::xml_node& last) {
        std::string extras;
        for (pugi::xml_node run = first;; run = run.next_sibling()) {
            for (const pugi::xml_node& child : run.children()) {
                if (child.type() != pugi::node_element ||
                    NamedOneOf(child, {"w:rPr", "w:fldChar", "w:instrText", "w:t",
                                       "w:lastRenderedPageBreak"})) {
                    continue;
                }
                extras += "|" + objects_.describe(child);
            }
            if (run == last) break;
        }
        return extras;
    }

    // What the field shows: the text of its runs between "separate" and "end".
    static std::string FieldResult(const pugi::xml_node& first, const pugi::xml_node& last) {
        std::string result;
        bool showing = false;
        for (pugi::xml_node run = first;; run = run.next_sibling()) {
            for (const pugi::xml_node& child : run.children()) {
                if (Named(child, "w:fldChar")) {
                    showing =
                        std::string_view(child.attribute("w:fldCharType").value()) == "separate";
                } else if (showing && Named(child, "w:t")) {
                    result += child.text().get();
                }
            }
            if (run == last) break;
        }
        return result;
    }

    ParagraphContent& out_;
    KeyTable& keys_;
    ObjectKeys& objects_;
    std::uint32_t link_ = 0;  // the key of the link being read, or 0
    pugi::xml_document shallow_;
};

}  // namespace

std::uint32_t KeyTable::key(std::string_view text) {
    std::unique_lock<std::mutex> lock(mutex_, std::defer_lock);
    if (shared_) lock.lock();
    // Most words are met again: look them up without making a string of them first.
    if (const auto found = keys_.find(text); found != keys_.end()) return found->second;
    return keys_.emplace(std::string(text), static_cast<std::uint32_t>(keys_.size() + 1))
        .first->second;
}

namespace {

// The piece that holds the stream's character at `at`: pieces lie in stream order.
const Piece* PieceAt(const std::vector<Piece>& pieces, std::uint32_t at) {
    auto found = std::upper_bound(pieces.begin(), pieces.end(), at,
                                  [](std::uint32_t at, const Piece& p) { return at < p.begin; });
    while (found != pieces.begin()) {
        --found;
        if (found->begin <= at && at < found->end) return &*found;
        if (found->end <= at) break;
    }
    return nullptr;
}

}  // namespace

std::uint32_t ParagraphContent::objectAt(std::uint32_t at) const {
    const Piece* piece = PieceAt(pieces, at);
    return piece && piece->end == at + 1 ? piece->object : 0;
}

pugi::xml_node ParagraphContent::elementAt(std::uint32_t at) const {
    const Piece* piece = PieceAt(pieces, at);
    return piece && piece->kind == PieceKind::Element ? piece->node : pugi::xml_node();
}

std::uint32_t ParagraphContent::linkAt(std::uint32_t at) const {
    const Piece* piece = PieceAt(pieces, at);
    return piece ? piece->link : 0;
}

ParagraphContent ReadParagraph(const pugi::xml_node& paragraph, KeyTable& keys,
                               ObjectKeys& objects) {
    ParagraphContent content;
    content.node = paragraph;
    ParagraphReader(content, keys, objects).walk(paragraph, {});
    return content;
}

std::uint64_t TextHash(const ParagraphContent& content, KeyTable& keys) {
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
    for (const Piece& piece : content.pieces) {
        if (piece.object)
            hash = Fnv(std::to_string(piece.object) + "@" + std::to_string(piece.begin), hash);
        if (piece.kind != PieceKind::Marker && piece.link != link) {
            link = piece.link;  // where a link begins or ends, and where it leads
            hash = Fnv("link" + std::to_string(link) + "@" + std::to_string(piece.begin), hash);
        }
    }
    return hash;
}

std::uint64_t LookHash(const ParagraphContent& content, std::uint64_t textHash) {
    std::uint64_t hash = Fnv(CanonicalParagraphProperties(content.node), textHash);
    // Where the formatting changes, and to what: runs cut elsewhere that look the same hash the
    // same. A run's properties are read once for all its pieces.
    pugi::xml_node run;
    std::string properties, before;
    bool first = true;
    for (const Piece& piece : content.pieces) {
        if (piece.kind != PieceKind::Text && piece.kind != PieceKind::Element) continue;
        if (first || piece.run != run) {
            run = piece.run;
            properties = CanonicalProperties(run.child("w:rPr"));
        }
        if (first || properties != before) {
            const std::uint64_t at = piece.begin;
            hash = Fnv(std::string_view(reinterpret_cast<const char*>(&at), sizeof at), hash);
            hash = Fnv(properties, hash);
            before = properties;
            first = false;
        }
    }
    return hash;
}

std::string VisibleText(std::string_view stream) {
    std::string text;
    for (const char c : stream) {
        if (c == kObjectMark) {
            text += "\u25A1";
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace redline
