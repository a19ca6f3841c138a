#include "support/CanonicalDocument.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "redline/io/Xml.h"
#include "redline/read/Document.h"

using redline::Named;

namespace {

// What makes no visible difference, or is generated: revision ids, proofing marks, bookmarks,
// comments (kept from the revised side by design), drawing ids.
bool IgnoredElement(std::string_view name) {
    return name == "w:proofErr" || name == "w:bookmarkStart" || name == "w:bookmarkEnd" ||
           name == "w:commentRangeStart" || name == "w:commentRangeEnd" ||
           name == "w:commentReference" || name == "w:lastRenderedPageBreak" || name == "w:lang" ||
           name == "w:noProof" || name == "w:permStart" || name == "w:permEnd" ||
           name.starts_with("w:rsid");
}

bool IgnoredAttribute(const pugi::xml_node& owner, std::string_view name) {
    return name.starts_with("xmlns") || name.find("rsid") != std::string_view::npos ||
           name == "w14:paraId" || name == "w14:textId" || name.starts_with("wp14:") ||
           name == "w:id" || name == "mc:Ignorable" ||
           (name == "id" && (Named(owner, "wp:docPr") || Named(owner, "pic:cNvPr")));
}

class Canonical {
  public:
    Canonical(redline::DocumentSide& side, redline::Resolution resolution)
        : side_(side), resolution_(resolution) {}

    std::string body() {
        pugi::xml_node body = side_.main.xml.child("w:document").child("w:body");
        std::string out = "[body]\n" + blocks(body, side_.main, 0) + "[last section] " +
                          section(body.child("w:sectPr")) + "\n";
        // Every section's headers and footers, in the order the sections come.
        std::vector<pugi::xml_node> sections;
        for (const pugi::xpath_node& found : body.select_nodes("w:p/w:pPr/w:sectPr"))
            sections.push_back(found.node());
        sections.push_back(body.child("w:sectPr"));
        for (std::size_t s = 0; s < sections.size(); ++s) {
            for (pugi::xml_node reference : sections[s].children()) {
                const bool header = Named(reference, "w:headerReference");
                if (!header && !Named(reference, "w:footerReference")) continue;
                const redline::PackagePart* part =
                    byId(side_.main, reference.attribute("r:id").value());
                if (!part) continue;
                out += "[section " + std::to_string(s + 1) + (header ? " header " : " footer ") +
                       reference.attribute("w:type").value() + "]\n" +
                       blocks(part->xml.document_element(), *part, 0);
            }
        }
        return out;
    }

  private:
    const redline::PackagePart* load(const std::string& name) {
        if (name.empty()) return nullptr;
        auto& part = parts_[name];
        if (!part) {
            part = std::make_unique<redline::PackagePart>();
            if (!redline::LoadPart(side_.package, name, *part)) {
                parts_.erase(name);  // not there: asked again, it is still not there
                return nullptr;
            }
            redline::ResolveRevisions(part->xml.document_element(), resolution_);
        }
        return part.get();
    }
    const redline::PackagePart* byId(const redline::PackagePart& from, const std::string& id) {
        const redline::Relationship* relationship = from.relationships.find(id);
        return relationship && !relationship->external
                   ? load(from.relationships.partOf(*relationship))
                   : nullptr;
    }

    // What a relationship id stands for: the target's bytes or an external address.
    std::string target(const redline::PackagePart& from, const std::string& id) {
        const redline::Relationship* relationship = from.relationships.find(id);
        if (!relationship) return "?";
        if (relationship->external) return "url:" + relationship->target;
        const std::string name = from.relationships.partOf(*relationship);
        if (!side_.package.has(name)) return "missing";
        return "part:" + std::to_string(std::hash<std::string>{}(side_.package.part(name)));
    }

    static std::string indent(int depth) { return std::string(2 * depth, ' '); }

    std::string blocks(const pugi::xml_node& container, const redline::PackagePart& part,
                       int depth) {
        std::string out;
        for (pugi::xml_node block : container.children()) {
            if (Named(block, "w:p")) {
                out += indent(depth) + paragraph(block, part) + "\n";
                if (const pugi::xml_node ends = block.child("w:pPr").child("w:sectPr"))
                    out += indent(depth) + "[section ends] " + section(ends) + "\n";
            } else if (Named(block, "w:tbl")) {
                out += table(block, part, depth);
            } else if (Named(block, "w:sdt")) {
                out += indent(depth) + "control " + xml(block.child("w:sdtPr"), part) + "\n" +
                       blocks(block.child("w:sdtContent"), part, depth + 1);
            } else if (Named(block, "w:tr") || Named(block, "w:tc")) {
                out += indent(depth) + block.name() + " " +
                       properties(block.child(Named(block, "w:tr") ? "w:trPr" : "w:tcPr"), part) +
                       "\n" + blocks(block, part, depth + 1);
            } else if (block.type() == pugi::node_element && !IgnoredElement(block.name()) &&
                       !Named(block, "w:sectPr") && !Named(block, "w:trPr") &&
                       !Named(block, "w:tcPr") && !Named(block, "w:tblPr") &&
                       !Named(block, "w:tblGrid")) {
                out += indent(depth) + xml(block, part) + "\n";
            }
        }
        return out;
    }

    // A section's page, margins, columns and the like; its headers and footers are read as
    // stories of their own.
    std::string section(const pugi::xml_node& section) {
        std::vector<std::string> children;
        for (pugi::xml_node child : section.children()) {
            const std::string_view name = child.name();
            if (IgnoredElement(name) || name == "w:headerReference" ||
                name == "w:footerReference") {
                continue;
            }
            children.push_back(xml(child, side_.main));
        }
        std::sort(children.begin(), children.end());
        std::string out = "{";
        for (const std::string& child : children) out += child;
        return out + "}";
    }

    std::string table(const pugi::xml_node& table, const redline::PackagePart& part, int depth) {
        std::string out = indent(depth) + "table " + properties(table.child("w:tblPr"), part) +
                          " " + xml(table.child("w:tblGrid"), part) + "\n";
        return out + blocks(table, part, depth + 1);
    }

    // Properties without what never shows; a paragraph's without its mark's formatting and its
    // section, which stay with the revised side by design.
    std::string properties(const pugi::xml_node& properties, const redline::PackagePart& part) {
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

    std::string paragraph(const pugi::xml_node& paragraph, const redline::PackagePart& part) {
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

    void content(const pugi::xml_node& node, const redline::PackagePart& part,
                 const std::string& context, Spans& spans) {
        for (pugi::xml_node child : node.children()) {
            const std::string_view name = child.name();
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

    void run(const pugi::xml_node& run, const redline::PackagePart& part,
             const std::string& context, Spans& spans) {
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
            } else {
                spans.add("⟦" + xml(child, part) + "⟧", key);
            }
        }
    }

    std::string note(const pugi::xml_node& reference) {
        const bool foot = Named(reference, "w:footnoteReference");
        const redline::PackagePart* part =
            load(side_.partOfType(foot ? "/footnotes" : "/endnotes"));
        if (!part) return "note?";
        const pugi::xml_node found = part->xml.document_element().find_child_by_attribute(
            foot ? "w:footnote" : "w:endnote", "w:id", reference.attribute("w:id").value());
        if (!found) return "note missing";
        // Its blocks, tables too, on one line.
        std::string out = std::string(foot ? "footnote:" : "endnote:") + blocks(found, *part, 0);
        std::replace(out.begin(), out.end(), '\n', '|');
        return out;
    }

    // An element with its attributes, no content.
    std::string shallow(const pugi::xml_node& node, const redline::PackagePart& part) {
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
    std::string xml(const pugi::xml_node& node, const redline::PackagePart& part) {
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
            } else if (child.type() == pugi::node_element && !IgnoredElement(child.name())) {
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

    redline::DocumentSide& side_;
    redline::Resolution resolution_;
    std::map<std::string, std::unique_ptr<redline::PackagePart>> parts_;
};

}  // namespace

std::string CanonicalDocument(const std::string& path, redline::Resolution resolution) {
    redline::DocumentSide side;
    redline::LoadDocument(side, path);
    redline::ResolveRevisions(side.main.xml.document_element(), resolution);
    return Canonical(side, resolution).body();
}
