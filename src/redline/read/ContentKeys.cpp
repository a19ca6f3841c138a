#include "redline/read/ContentKeys.h"

#include <algorithm>
#include <functional>
#include <sstream>
#include <string_view>
#include <vector>

#include "redline/io/Namespaces.h"
#include "redline/io/Xml.h"
#include "redline/read/Canonical.h"
#include "redline/read/NestedStories.h"
#include "redline/read/ShownText.h"

namespace redline {

namespace {

// An equation as what it shows: its structure, and the text of its runs with their formatting,
// however the runs are cut.
std::string MathKey(const pugi::xml_node& node) {
    std::string key = std::string("<") + node.name();
    for (const pugi::xml_attribute& attribute : node.attributes()) {
        key += std::string(" ") + attribute.name() + "=" + attribute.value();
    }
    key += ">";
    std::string runs = "\x02";  // the properties of the last run, none yet
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        if (Named(child, "m:r")) {
            const std::string properties = CanonicalProperties(child.child("w:rPr")) + "|" +
                                           CanonicalProperties(child.child("m:rPr"));
            if (properties != runs) key += "{" + properties + "}";
            runs = properties;
            for (const pugi::xml_node& text : child.children("m:t")) AppendShownText(text, key);
        } else {
            runs = "\x02";
            key += MathKey(child);
        }
    }
    return key + "</>";
}

// Ids that a writer numbers anew each time it writes a part: a chart's axes, which only name
// each other.
bool IsRenumberedId(const pugi::xml_node& element) {
    return Named(element, "c:axId") || Named(element, "c:crossAx");
}

std::string XmlContent(const std::string& bytes, Namespaces& names) {
    pugi::xml_document xml;
    if (!xml.load_buffer(bytes.data(), bytes.size())) return bytes;
    // A chart written with other prefixes is the same chart.
    try {
        NormalizeNamespaces(xml, bytes, names);
    } catch (const BadDocument&) {
        return bytes;
    }
    std::vector<pugi::xml_node> pending{xml.document_element()};
    while (!pending.empty()) {
        pugi::xml_node node = pending.back();
        pending.pop_back();
        for (pugi::xml_attribute attribute = node.first_attribute(); attribute;) {
            const pugi::xml_attribute next = attribute.next_attribute();
            if (std::string_view(attribute.name()).starts_with("xmlns") || IsRenumberedId(node)) {
                node.remove_attribute(attribute);
            }
            attribute = next;
        }
        for (pugi::xml_node child : node.children()) {
            if (child.type() == pugi::node_element) pending.push_back(child);
        }
    }
    std::ostringstream out;
    xml.save(out, "", pugi::format_raw | pugi::format_no_declaration);
    return out.str();
}

// An embedded package (a workbook, a document) by its entries' names and contents, in name
// order; what no reader sees of it (its properties: who saved it and when) left out.
std::string PackageContent(const std::string& bytes, int depth, Namespaces& names) {
    PackageLimits limits;
    limits.entries = 1'000;
    limits.totalBytes = 128ull << 20;
    limits.entryBytes = 64ull << 20;
    try {
        const Package package = Package::FromBytes(bytes, limits);
        std::vector<std::string> entries = package.names();
        std::sort(entries.begin(), entries.end());
        std::string content = "package:";
        for (const std::string& name : entries) {
            if (name.starts_with("docProps/")) continue;
            content += name + "=" +
                       std::to_string(std::hash<std::string>{}(
                           PartContent(name, package.part(name), names, depth + 1))) +
                       ";";
        }
        return content;
    } catch (const BadDocument&) {
        return bytes;  // not a package after all: its bytes are what it is
    }
}

}  // namespace

std::string PartContent(const std::string& name, const std::string& bytes, Namespaces& names,
                        int depth) {
    if (name.ends_with(".xml")) return XmlContent(bytes, names);
    // A package inside an embedded one is compared by its bytes: one level of inflating, under
    // limits, is all that an embedded object may cost.
    if (depth == 0 && bytes.starts_with(std::string_view("PK\x03\x04", 4)))
        return PackageContent(bytes, depth, names);
    return bytes;
}

std::string ContentKeys::describe(const pugi::xml_node& node) {
    if (Named(node, "w:footnoteReference") || Named(node, "w:endnoteReference")) {
        return node.name();
    }
    // A text box is a story of its own, compared on its own; a block is compared whole.
    if (!NamedOneOf(node, {"w:customXml", "w:altChunk", "w:sdt"}) && HoldsTextBox(node)) {
        return "text box";
    }
    if (Named(node, "m:oMath") || Named(node, "m:oMathPara")) return MathKey(node);
    return CanonicalXml(
        node,
        [this](const pugi::xml_node& owner, const pugi::xml_attribute& attribute) -> std::string {
            const std::string_view name = attribute.name();
            // Where a writer declares its namespaces is not what the element is.
            if (name.starts_with("xmlns")) return {};
            if (name.starts_with("r:") || name == "o:relid") return target(attribute.value());
            // Ids and names that each document numbers in its own way.
            const std::string_view element = owner.name();
            if ((element == "wp:docPr" || element == "pic:cNvPr") &&
                (name == "id" || name == "name")) {
                return {};
            }
            if (name == "wp14:anchorId" || name == "wp14:editId" || name == "w:id") return {};
            // A converter's own numbering of shapes and embedded objects.
            const bool vml = element.starts_with("v:") || element.starts_with("o:");
            if ((vml && name == "id") || name == "o:spid" || name == "ObjectID" ||
                name == "ShapeID" || name == "o:gfxdata") {
                return {};
            }
            return attribute.value();
        });
}

std::string ContentKeys::target(const std::string& id) {
    const Relationship* relationship = part_.relationships.find(id);
    if (!relationship) return "?";
    if (relationship->external) return relationship->target;
    const std::string part = part_.relationships.partOf(*relationship);
    if (!package_.has(part)) return "?";
    auto [found, added] = targets_.try_emplace(part);
    if (added) {
        found->second = std::to_string(std::hash<std::string>{}(
            PartContent(part, package_.part(part), package_.namespaces())));
    }
    return found->second;
}

}  // namespace redline
