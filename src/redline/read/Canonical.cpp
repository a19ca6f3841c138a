#include "redline/read/Canonical.h"

#include <cstring>
#include <string_view>

#include "redline/io/Xml.h"

namespace redline {

namespace {

// Attributes and elements that make no visible difference.
bool Invisible(const char* name) {
    return std::strncmp(name, "w:rsid", 6) == 0 || std::strcmp(name, "w:lang") == 0 ||
           std::strcmp(name, "w:noProof") == 0 || std::strcmp(name, "w:webHidden") == 0 ||
           std::strcmp(name, "w14:paraId") == 0 || std::strcmp(name, "w14:textId") == 0 ||
           std::string_view(name).ends_with("PrChange") ||
           std::strcmp(name, "w:tblGridChange") == 0;
}

using AttributeValue =
    std::function<std::string(const pugi::xml_node&, const pugi::xml_attribute&)>;

void AppendCanonical(const pugi::xml_node& node, std::string& out, const AttributeValue& value) {
    out += '<';
    out += node.name();
    for (const pugi::xml_attribute& attribute : node.attributes()) {
        if (Invisible(attribute.name())) continue;
        const std::string shown = value ? value(node, attribute) : attribute.value();
        if (shown.empty() && *attribute.value()) continue;
        out += ' ';
        out += attribute.name();
        out += '=';
        out += shown;
    }
    out += '>';
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() == pugi::node_element && !Invisible(child.name())) {
            AppendCanonical(child, out, value);
        } else if (child.type() == pugi::node_pcdata) {
            out += child.value();
        }
    }
    out += "</>";
}

}  // namespace

std::string CanonicalXml(const pugi::xml_node& node, const AttributeValue& value) {
    std::string out;
    AppendCanonical(node, out, value);
    return out;
}

std::string CanonicalProperties(const pugi::xml_node& properties) {
    std::string out;
    if (!properties) return out;
    for (const pugi::xml_node& child : properties.children()) {
        if (child.type() == pugi::node_element && !Invisible(child.name())) {
            AppendCanonical(child, out, {});
        }
    }
    return out;
}

std::string CanonicalParagraphProperties(const pugi::xml_node& paragraph) {
    std::string out;
    for (const pugi::xml_node& child : paragraph.child("w:pPr").children()) {
        if (child.type() == pugi::node_element && !Invisible(child.name()) &&
            !NamedOneOf(child, {"w:rPr", "w:sectPr"})) {
            AppendCanonical(child, out, {});
        }
    }
    return out;
}

}  // namespace redline
