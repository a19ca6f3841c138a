#include "support/ReadText.h"

#include <cstring>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "support/TestPackage.h"

namespace redline {

namespace {

bool Named(const pugi::xml_node& node, std::string_view name) {
    return name == node.name();
}

// The children of `parent` named `name`, also those that content controls or custom XML wrap.
std::vector<pugi::xml_node> Wrapped(const pugi::xml_node& parent, const char* name) {
    std::vector<pugi::xml_node> found;
    for (const pugi::xml_node& child : parent.children()) {
        if (Named(child, name)) {
            found.push_back(child);
        } else if (Named(child, "w:sdt") || Named(child, "w:customXml")) {
            const pugi::xml_node inside =
                Named(child, "w:sdt") ? child.child("w:sdtContent") : child;
            for (const pugi::xml_node& wrapped : Wrapped(inside, name)) found.push_back(wrapped);
        }
    }
    return found;
}

// The parts a document's text reaches into: its notes and its headers and footers.
class Parts {
  public:
    explicit Parts(TestPackage& package) : package_(package) {}

    // The part that the main part's relationship `id` names, or that of `typeSuffix`.
    const pugi::xml_document* byId(const std::string& id) {
        const TestRelationship* relationship = package_.relationship(package_.main(), id);
        return relationship && !relationship->external ? package_.part(relationship->target)
                                                       : nullptr;
    }
    const pugi::xml_document* byType(const std::string& typeSuffix) {
        return package_.part(package_.partOfType(typeSuffix));
    }

  private:
    TestPackage& package_;
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
        const pugi::xml_document* part = parts_.byType(foot ? "/footnotes" : "/endnotes");
        if (!part) return "[^?]";
        const pugi::xml_node found = part->document_element().find_child_by_attribute(
            foot ? "w:footnote" : "w:endnote", "w:id", reference.attribute("w:id").value());
        return "[^" + inner(found) + "]";
    }

    // A comment where its reference stands: its author and its text, read the same way.
    std::string comment(const pugi::xml_node& reference) {
        const pugi::xml_document* part = parts_.byType("/comments");
        const pugi::xml_node found =
            part ? part->document_element().find_child_by_attribute(
                       "w:comment", "w:id", reference.attribute("w:id").value())
                 : pugi::xml_node();
        if (!found) return "[#?]";
        std::string text = inner(found);
        if (!text.empty() && text.back() == '\n') text.pop_back();
        return "[#" + std::string(found.attribute("w:author").value()) + ": " + text + "]";
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
                for (const pugi::xml_node& row : Wrapped(child, "w:tr")) {
                    const pugi::xml_node mark =
                        row.child("w:trPr").find_child([](const pugi::xml_node& n) {
                            return Named(n, "w:ins") || Named(n, "w:del");
                        });
                    if (mark && gone(mark)) continue;
                    for (const pugi::xml_node& cell : Wrapped(row, "w:tc")) {
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
            } else if (Named(child, "w:commentReference")) {
                text += comment(child);
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

// Whether the section break ends a paragraph whose mark this reading takes away.
bool BreakGone(const pugi::xml_node& section, Reading reading) {
    const pugi::xml_node mark = section.parent().child("w:rPr");
    if (!Named(section.parent(), "w:pPr") || reading == Reading::Markup) return false;
    const bool accept = reading == Reading::AcceptAll;
    return mark.child(accept ? "w:del" : "w:ins") || mark.child(accept ? "w:moveFrom" : "w:moveTo");
}

// The headers and footers of each section, by kind, that hold any text in this reading.
std::string HeadersAndFooters(const pugi::xml_document& main, Parts& parts, Reading reading) {
    std::string out;
    for (const pugi::xpath_node& section :
         main.child("w:document").child("w:body").select_nodes(".//w:sectPr")) {
        if (BreakGone(section.node(), reading)) continue;
        for (const char* element : {"w:headerReference", "w:footerReference"}) {
            for (const char* kind : {"default", "first", "even"}) {
                const pugi::xml_node reference =
                    section.node().find_child_by_attribute(element, "w:type", kind);
                const pugi::xml_document* part =
                    reference ? parts.byId(reference.attribute("r:id").value()) : nullptr;
                if (!part) continue;
                const std::string text = TextReader(reading, parts).read(part->document_element());
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
    TestPackage package(path);
    Parts parts(package);
    const pugi::xml_document& main = *package.part(package.main());
    return TextReader(reading, parts).read(main.child("w:document").child("w:body")) +
           HeadersAndFooters(main, parts, reading);
}

}  // namespace redline
