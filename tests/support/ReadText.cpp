#include "support/ReadText.h"
#include "redline/io/Xml.h"

#include <cstring>
#include <map>
#include <memory>

#include "redline/read/Document.h"
#include "redline/read/Story.h"

namespace redline {

namespace {

// The parts a document's text reaches into: its notes and its headers and footers.
class Parts {
  public:
    explicit Parts(DocumentSide& side) : side_(side) {}

    // The part that the main part's relationship `id` names, or that of `typeSuffix`.
    const PackagePart* byId(const std::string& id) {
        const Relationship* relationship = side_.main.relationships.find(id);
        return relationship ? load(side_.main.relationships.partOf(*relationship)) : nullptr;
    }
    const PackagePart* byType(const std::string& typeSuffix) {
        return load(side_.partOfType(typeSuffix));
    }

  private:
    const PackagePart* load(const std::string& name) {
        if (name.empty()) return nullptr;
        auto& part = parts_[name];
        if (!part) {
            part = std::make_unique<PackagePart>();
            if (!LoadPart(side_.package, name, *part)) {
                parts_.erase(name);  // not there: asked again, it is still not there
                return nullptr;
            }
        }
        return part.get();
    }

    DocumentSide& side_;
    std::map<std::string, std::unique_ptr<PackagePart>> parts_;
};

class TextReader {
  public:
    TextReader(Reading reading, Parts& parts) : reading_(reading), parts_(parts) {}

    std::string read(const pugi::xml_node& container) {
        blocks(container);
        close();
        return std::move(out_);
    }

  private:
    // The text of a story this text reaches into, read the same way.
    std::string inner(const pugi::xml_node& container) {
        return TextReader(reading_, parts_).read(container);
    }

    std::string note(const pugi::xml_node& reference) {
        const bool foot = Named(reference, "w:footnoteReference");
        const PackagePart* part = parts_.byType(foot ? "/footnotes" : "/endnotes");
        if (!part) return "[^?]";
        const pugi::xml_node found = part->xml.first_child().find_child_by_attribute(
            foot ? "w:footnote" : "w:endnote", "w:id", reference.attribute("w:id").value());
        return "[^" + inner(found) + "]";
    }

    // Whether content under this mark is gone in the reading.
    bool gone(const pugi::xml_node& mark) const {
        if (reading_ == Reading::Markup) return false;
        const bool removed = Named(mark, "w:del") || Named(mark, "w:moveFrom");
        const bool added = Named(mark, "w:ins") || Named(mark, "w:moveTo");
        return reading_ == Reading::AcceptAll ? removed : added;
    }

    void blocks(const pugi::xml_node& container) {
        for (const pugi::xml_node& child : container.children()) {
            if (Named(child, "w:p")) {
                paragraph(child);
            } else if (Named(child, "w:tbl")) {
                for (const pugi::xml_node& row : WrappedChildren(child, "w:tr")) {
                    const pugi::xml_node mark =
                        row.child("w:trPr").find_child([](const pugi::xml_node& n) {
                            return Named(n, "w:ins") || Named(n, "w:del");
                        });
                    if (mark && gone(mark)) continue;
                    for (const pugi::xml_node& cell : WrappedChildren(row, "w:tc")) {
                        // A cell inserted or deleted whole goes in the reading that undoes it.
                        const pugi::xml_node properties = cell.child("w:tcPr");
                        if ((properties.child("w:cellIns") && reading_ == Reading::RejectAll) ||
                            (properties.child("w:cellDel") && reading_ == Reading::AcceptAll)) {
                            continue;
                        }
                        blocks(cell);
                        out_ += '\t';
                    }
                    out_ += '\n';
                }
            } else if (Named(child, "w:sdt") || Named(child, "w:sdtContent") ||
                       Named(child, "w:customXml")) {
                blocks(child.child("w:sdtContent") ? child.child("w:sdtContent") : child);
            }
        }
    }

    void paragraph(const pugi::xml_node& paragraph) {
        inline_(paragraph, "");
        close();
        const pugi::xml_node properties = paragraph.child("w:pPr").child("w:rPr");
        for (const char* mark : {"w:ins", "w:del", "w:moveTo", "w:moveFrom"}) {
            const pugi::xml_node found = properties.child(mark);
            if (!found) continue;
            if (reading_ == Reading::Markup) {
                out_ += Named(found, "w:ins")      ? "¶+"
                        : Named(found, "w:del")    ? "¶-"
                        : Named(found, "w:moveTo") ? "¶>"
                                                   : "¶<";
            } else if (gone(found)) {
                return;  // the paragraph runs on into the next
            }
        }
        out_ += '\n';
    }

    // `shown`: the markup brackets of the change this content lies in.
    void inline_(const pugi::xml_node& node, const std::string& shown) {
        for (const pugi::xml_node& child : node.children()) {
            if (child.type() != pugi::node_element || Named(child, "w:pPr") ||
                Named(child, "w:rPr"))
                continue;
            if (Named(child, "w:ins") || Named(child, "w:del") || Named(child, "w:moveTo") ||
                Named(child, "w:moveFrom")) {
                if (gone(child)) continue;
                if (reading_ != Reading::Markup) {
                    inline_(child, shown);
                    continue;
                }
                inline_(child, Named(child, "w:ins")      ? "+"
                               : Named(child, "w:del")    ? "-"
                               : Named(child, "w:moveTo") ? ">"
                                                          : "<");
            } else if (Named(child, "w:r") || Named(child, "m:r")) {
                run(child, shown);  // text, or an equation's text
            } else {
                inline_(child, shown);  // hyperlinks, fields, content controls
            }
        }
    }

    void run(const pugi::xml_node& node, const std::string& shown) {
        std::string text;
        for (const pugi::xml_node& child : node.children()) {
            if (Named(child, "w:t") || Named(child, "w:delText") || Named(child, "m:t")) {
                text += child.text().get();
            } else if (Named(child, "w:tab")) {
                text += '\t';
            } else if (Named(child, "w:br") || Named(child, "w:cr")) {
                text += '\v';
            } else if (Named(child, "w:footnoteReference") || Named(child, "w:endnoteReference")) {
                text += note(child);
            } else if (const pugi::xml_node box = child.find_node(
                           [](const pugi::xml_node& n) { return Named(n, "w:txbxContent"); })) {
                text += "[o]{" + inner(box) + "}";  // a text box: its first content only
            } else if (Named(child, "w:drawing") || Named(child, "w:pict") ||
                       Named(child, "w:object") || Named(child, "mc:AlternateContent")) {
                text += "[o]";
            }
        }
        if (text.empty()) return;
        std::string bracket = shown;
        if (bracket.empty() && reading_ == Reading::Markup &&
            node.child("w:rPr").child("w:rPrChange"))
            bracket = "~";
        if (bracket.empty()) {
            close();
            out_ += text;
            return;
        }
        if (bracket != open_) {
            close();
            out_ += '[';
            out_ += bracket;
            open_ = bracket;
        }
        out_ += text;
    }

    void close() {
        if (!open_.empty()) {
            out_ += open_;
            out_ += ']';
        }
        open_.clear();
    }

    Reading reading_;
    Parts& parts_;
    std::string out_, open_;
};

// The headers and footers of each section, by kind, that hold any text in this reading.
std::string HeadersAndFooters(DocumentSide& side, Parts& parts, Reading reading) {
    std::string out;
    for (const pugi::xpath_node& section :
         side.main.xml.child("w:document").child("w:body").select_nodes(".//w:sectPr")) {
        for (const char* element : {"w:headerReference", "w:footerReference"}) {
            for (const char* kind : {"default", "first", "even"}) {
                const pugi::xml_node reference =
                    section.node().find_child_by_attribute(element, "w:type", kind);
                const PackagePart* part =
                    reference ? parts.byId(reference.attribute("r:id").value()) : nullptr;
                if (!part) continue;
                const std::string text = TextReader(reading, parts).read(part->xml.first_child());
                if (text.empty()) continue;
                out += std::string("[") + (element[2] == 'h' ? "header " : "footer ") + kind +
                       "]\n" + text;
            }
        }
    }
    return out;
}

}  // namespace

std::string ReadText(const std::string& path, Reading reading) {
    DocumentSide side;
    LoadDocument(side, path);
    Parts parts(side);
    return TextReader(reading, parts).read(side.main.xml.child("w:document").child("w:body")) +
           HeadersAndFooters(side, parts, reading);
}

}  // namespace redline
