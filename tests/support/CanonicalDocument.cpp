#include "support/CanonicalDocument.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "support/TestPackage.h"
#include "support/XmlNames.h"

namespace {

bool Named(const pugi::xml_node& node, std::string_view name) {
    return name == node.name();
}

// What makes no visible difference, or is generated: revision ids, proofing marks, bookmarks,
// drawing ids. (Comments are read where their references stand; their ranges where the comment
// is there.)
bool IgnoredElement(std::string_view name) {
    return name == "w:proofErr" || name == "w:bookmarkStart" || name == "w:bookmarkEnd" ||
           name == "w:commentRangeStart" || name == "w:commentRangeEnd" ||
           name == "w:lastRenderedPageBreak" || name == "w:lang" || name == "w:noProof" ||
           name == "w:permStart" || name == "w:permEnd" || name.starts_with("w:rsid");
}

bool IgnoredAttribute(const pugi::xml_node& owner, std::string_view name) {
    return name.starts_with("xmlns") || name.find("rsid") != std::string_view::npos ||
           name == "w14:paraId" || name == "w14:textId" || name.starts_with("wp14:") ||
           name == "w:id" || name == "mc:Ignorable" ||
           (name == "id" && (Named(owner, "wp:docPr") || Named(owner, "pic:cNvPr")));
}

// An equation's properties that state nothing: a writer may leave them out or write them empty.
bool EmptyMathProperties(const pugi::xml_node& node) {
    const std::string_view name = node.name();
    if (!name.starts_with("m:") || !name.ends_with("Pr") || node.first_attribute()) return false;
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() != pugi::node_element || !EmptyMathProperties(child)) return false;
    }
    return true;
}

// What a part that content points at holds: an XML part by its names' namespaces and what they
// hold, wherever its writer declared them; anything else by its bytes.
std::string PartText(const std::string& name, const std::string& bytes) {
    pugi::xml_document xml;
    if (!name.ends_with(".xml") ||
        !xml.load_buffer(bytes.data(), bytes.size(),
                         pugi::parse_default | pugi::parse_ws_pcdata_single)) {
        return bytes;
    }
    RenameToTestPrefixes(xml.document_element());
    for (const pugi::xpath_node& found : xml.select_nodes("//*")) {
        pugi::xml_node node = found.node();
        for (pugi::xml_attribute attribute = node.first_attribute(); attribute;) {
            const pugi::xml_attribute next = attribute.next_attribute();
            if (std::string_view(attribute.name()).starts_with("xmlns")) {
                node.remove_attribute(attribute);
            }
            attribute = next;
        }
    }
    std::ostringstream text;
    xml.save(text, "", pugi::format_raw | pugi::format_no_declaration);
    return text.str();
}

// A part being read, by its name.
struct PartRef {
    std::string name;
    pugi::xml_document* xml;
};

class Canonical {
  public:
    explicit Canonical(TestPackage& parts) : parts_(parts) {}

    std::string body() {
        PartRef main{parts_.main(), parts_.part(parts_.main())};
        pugi::xml_node body = main.xml->child("w:document").child("w:body");
        for (const pugi::xpath_node& found : body.select_nodes(".//w:commentReference"))
            commented_.insert(found.node().attribute("w:id").value());
        std::string out = "[body]\n" + blocks(body, main, 0) + "[last section] " +
                          section(body.child("w:sectPr"), main) + "\n";
        // Every section's headers and footers, in the order the sections come.
        std::vector<pugi::xml_node> sections;
        for (const pugi::xpath_node& found : body.select_nodes("w:p/w:pPr/w:sectPr"))
            sections.push_back(found.node());
        sections.push_back(body.child("w:sectPr"));
        for (std::size_t s = 0; s < sections.size(); ++s) {
            for (pugi::xml_node reference : sections[s].children()) {
                const bool header = Named(reference, "w:headerReference");
                if (!header && !Named(reference, "w:footerReference")) continue;
                const PartRef part = byId(main, reference.attribute("r:id").value());
                if (!part.xml) continue;
                out += "[section " + std::to_string(s + 1) + (header ? " header " : " footer ") +
                       reference.attribute("w:type").value() + "]\n" +
                       blocks(part.xml->document_element(), part, 0);
            }
        }
        return out;
    }

  private:
    PartRef byId(const PartRef& from, const std::string& id) {
        const auto& relationships = parts_.relationshipsOf(from.name);
        const auto found = relationships.find(id);
        if (found == relationships.end() || found->second.external) return {"", nullptr};
        return {found->second.target, parts_.part(found->second.target)};
    }

    // What a relationship id stands for: the target's bytes or an external address.
    std::string target(const PartRef& from, const std::string& id) {
        const auto& relationships = parts_.relationshipsOf(from.name);
        const auto found = relationships.find(id);
        if (found == relationships.end()) return "?";
        if (found->second.external) return "url:" + found->second.target;
        const std::string* bytes = parts_.bytes(found->second.target);
        if (!bytes) return "missing";
        return "part:" +
               std::to_string(std::hash<std::string>{}(PartText(found->second.target, *bytes)));
    }

    static std::string indent(int depth) { return std::string(2 * depth, ' '); }

    std::string blocks(const pugi::xml_node& container, const PartRef& part, int depth) {
        std::string out;
        for (pugi::xml_node block : container.children()) {
            if (Named(block, "w:p")) {
                out += indent(depth) + paragraph(block, part) + "\n";
                if (const pugi::xml_node ends = block.child("w:pPr").child("w:sectPr"))
                    out += indent(depth) + "[section ends] " + section(ends, part) + "\n";
            } else if (Named(block, "w:tbl")) {
                out += table(block, part, depth);
            } else if (Named(block, "w:sdt")) {
                const pugi::xml_node content = block.child("w:sdtContent");
                out += indent(depth) + "control " + xml(block.child("w:sdtPr"), part) + "\n" +
                       blocks(content ? content : block, part, depth + 1);
            } else if (Named(block, "w:customXml")) {
                // Custom XML around blocks: its element and properties, then its blocks.
                out += indent(depth) + "custom xml " + block.attribute("w:uri").value() + " " +
                       block.attribute("w:element").value() + " " +
                       xml(block.child("w:customXmlPr"), part) + "\n" +
                       blocks(block, part, depth + 1);
            } else if (Named(block, "w:tr") || Named(block, "w:tc")) {
                out += indent(depth) + block.name() + " " +
                       properties(block.child(Named(block, "w:tr") ? "w:trPr" : "w:tcPr"), part) +
                       "\n" + blocks(block, part, depth + 1);
            } else if (block.type() == pugi::node_element && !IgnoredElement(block.name()) &&
                       !Named(block, "w:sectPr") && !Named(block, "w:trPr") &&
                       !Named(block, "w:tcPr") && !Named(block, "w:tblPr") &&
                       !Named(block, "w:tblGrid") && !Named(block, "w:customXmlPr") &&
                       !Named(block, "w:sdtPr") && !Named(block, "w:sdtEndPr")) {
                out += indent(depth) + xml(block, part) + "\n";
            }
        }
        return out;
    }

    // A section's page, margins, columns and the like; its headers and footers are read as
    // stories of their own.
    std::string section(const pugi::xml_node& section, const PartRef& part) {
        std::vector<std::string> children;
        for (pugi::xml_node child : section.children()) {
            const std::string_view name = child.name();
            if (IgnoredElement(name) || name == "w:headerReference" ||
                name == "w:footerReference") {
                continue;
            }
            children.push_back(xml(child, part));
        }
        std::sort(children.begin(), children.end());
        std::string out = "{";
        for (const std::string& child : children) out += child;
        return out + "}";
    }

    std::string table(const pugi::xml_node& table, const PartRef& part, int depth) {
        std::string out = indent(depth) + "table " + properties(table.child("w:tblPr"), part) +
                          " " + xml(table.child("w:tblGrid"), part) + "\n";
        return out + blocks(table, part, depth + 1);
    }

    // Properties without what never shows; a paragraph's without its mark's formatting and its
    // section, which stay with the revised side by design.
    std::string properties(const pugi::xml_node& properties, const PartRef& part) {
        if (!properties) return "{}";
        std::vector<std::string> children;
        for (pugi::xml_node child : properties.children()) {
            const std::string_view name = child.name();
            if (IgnoredElement(name) || name == "w:rPr" || name == "w:sectPr") continue;
            children.push_back(xml(child, part));
        }
        std::sort(children.begin(), children.end());
        std::string out = "{";
        for (const std::string& child : children) out += child;
        return out + "}";
    }

    std::string paragraph(const pugi::xml_node& paragraph, const PartRef& part) {
        Spans spans;
        content(paragraph, part, "", spans);
        return "p " + properties(paragraph.child("w:pPr"), part) + " " + spans.text();
    }

    // A paragraph's characters, each with its formatting and context, adjacent equal ones joined.
    class Spans {
      public:
        void add(const std::string& text, const std::string& key) {
            if (text.empty()) return;
            if (!spans_.empty() && spans_.back().second == key) {
                spans_.back().first += text;
            } else {
                spans_.emplace_back(text, key);
            }
        }
        std::string text() const {
            std::string out;
            for (const auto& [text, key] : spans_) out += "«" + text + "»" + key;
            return out;
        }

      private:
        std::vector<std::pair<std::string, std::string>> spans_;
    };

    void content(const pugi::xml_node& node, const PartRef& part, const std::string& context,
                 Spans& spans) {
        for (pugi::xml_node child : node.children()) {
            const std::string_view name = child.name();
            if (name == "w:commentRangeStart" || name == "w:commentRangeEnd") {
                // Where the comment is there, the text it annotates is part of it.
                if (commented_.count(child.attribute("w:id").value()))
                    spans.add(name == "w:commentRangeStart" ? "⟨" : "⟩", context);
                continue;
            }
            if (child.type() != pugi::node_element || IgnoredElement(name) || name == "w:pPr") {
                continue;
            }
            if (name == "w:r") {
                run(child, part, context, spans);
            } else if (name == "w:hyperlink" || name == "w:fldSimple" || name == "w:smartTag" ||
                       name == "w:customXml") {
                content(child, part, context + "/" + shallow(child, part), spans);
            } else if (name == "w:sdt") {
                content(child.child("w:sdtContent"), part,
                        context + "/control" + xml(child.child("w:sdtPr"), part), spans);
            } else if (name == "m:oMath" || name == "m:oMathPara") {
                spans.add("⟦" + xml(child, part) + "⟧", context);
            } else {
                spans.add("⟦" + xml(child, part) + "⟧", context);
            }
        }
    }

    void run(const pugi::xml_node& run, const PartRef& part, const std::string& context,
             Spans& spans) {
        const std::string key = context + properties(run.child("w:rPr"), part);
        for (pugi::xml_node child : run.children()) {
            const std::string_view name = child.name();
            if (child.type() != pugi::node_element || IgnoredElement(name) || name == "w:rPr") {
                continue;
            }
            if (name == "w:t" || name == "w:delText") {
                spans.add(child.text().get(), key);
            } else if (name == "w:instrText" || name == "w:delInstrText") {
                spans.add(child.text().get(), key + "/instruction");
            } else if (name == "w:tab") {
                spans.add("\t", key);
            } else if (name == "w:footnoteReference" || name == "w:endnoteReference") {
                spans.add("⟦" + note(child) + "⟧", key);
            } else if (name == "w:commentReference") {
                spans.add("⟦" + comment(child) + "⟧", key);
            } else {
                spans.add("⟦" + xml(child, part) + "⟧", key);
            }
        }
    }

    std::string note(const pugi::xml_node& reference) {
        const bool foot = Named(reference, "w:footnoteReference");
        const std::string name = parts_.partOfType(foot ? "/footnotes" : "/endnotes");
        const PartRef part{name, name.empty() ? nullptr : parts_.part(name)};
        if (!part.xml) return "note?";
        const pugi::xml_node found = part.xml->document_element().find_child_by_attribute(
            foot ? "w:footnote" : "w:endnote", "w:id", reference.attribute("w:id").value());
        if (!found) return "note missing";
        // Its blocks, tables too, on one line.
        std::string out = std::string(foot ? "footnote:" : "endnote:") + blocks(found, part, 0);
        std::replace(out.begin(), out.end(), '\n', '|');
        return out;
    }

    // A comment: its author, initials and blocks, on one line (its date may differ by writer).
    std::string comment(const pugi::xml_node& reference) {
        const std::string name = parts_.partOfType("/comments");
        const PartRef part{name, name.empty() ? nullptr : parts_.part(name)};
        if (!part.xml) return "comment?";
        const pugi::xml_node found = part.xml->document_element().find_child_by_attribute(
            "w:comment", "w:id", reference.attribute("w:id").value());
        if (!found) return "comment missing";
        std::string out = std::string("comment by ") + found.attribute("w:author").value() + " (" +
                          found.attribute("w:initials").value() + "):" + blocks(found, part, 0);
        std::replace(out.begin(), out.end(), '\n', '|');
        return out;
    }

    // An element with its attributes, no content.
    std::string shallow(const pugi::xml_node& node, const PartRef& part) {
        std::vector<std::string> attributes;
        for (pugi::xml_attribute attribute : node.attributes()) {
            const std::string_view name = attribute.name();
            if (IgnoredAttribute(node, name)) continue;
            const std::string value =
                name.starts_with("r:") ? target(part, attribute.value()) : attribute.value();
            attributes.push_back(std::string(name) + "=" + value);
        }
        std::sort(attributes.begin(), attributes.end());
        std::string out = std::string("<") + node.name();
        for (const std::string& attribute : attributes) out += " " + attribute;
        return out + ">";
    }

    // An element as text: paragraphs inside it (a text box's) read as paragraphs, runs of math
    // joined like runs of text, ids and namespace declarations left out.
    std::string xml(const pugi::xml_node& node, const PartRef& part) {
        if (!node) return "";
        if (Named(node, "w:txbxContent")) return "txbx[" + blocks(node, part, 0) + "]";
        std::string out = shallow(node, part);
        std::string mathText, mathKey;
        auto flushMath = [&] {
            if (!mathText.empty()) out += "«" + mathText + "»" + mathKey;
            mathText.clear();
        };
        for (pugi::xml_node child : node.children()) {
            if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
                flushMath();
                out += child.value();
            } else if (child.type() == pugi::node_element && !IgnoredElement(child.name()) &&
                       !EmptyMathProperties(child)) {
                if (Named(child, "m:r")) {
                    std::string key, text;
                    for (pugi::xml_node inner : child.children()) {
                        if (Named(inner, "m:t")) {
                            text += inner.text().get();
                        } else if (!IgnoredElement(inner.name())) {
                            key +=
                                Named(inner, "w:rPr") ? properties(inner, part) : xml(inner, part);
                        }
                    }
                    if (key != mathKey) flushMath();
                    mathKey = key;
                    mathText += text;
                    continue;
                }
                flushMath();
                out += xml(child, part);
            }
        }
        flushMath();
        return out + "</>";
    }

    TestPackage& parts_;
    std::set<std::string> commented_;  // the comments whose references the document shows
};

}  // namespace

std::string CanonicalDocument(const std::string& path, Resolution resolution,
                              const std::string& author) {
    TestPackage parts(path, resolution, author);
    return Canonical(parts).body();
}
