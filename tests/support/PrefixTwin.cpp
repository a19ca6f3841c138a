#include "support/PrefixTwin.h"

#include <pugixml.hpp>

#include <map>
#include <regex>
#include <sstream>

#include "support/Zip.h"

namespace {

const char* kMain = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";

// The twin's prefix for `prefix` ("" stays "").
std::string Other(const std::string& prefix, TwinStyle style) {
    if (prefix.empty() || prefix == "xml") return prefix;
    if (style == TwinStyle::DefaultNamespace) return prefix == "w" ? "ns0" : prefix;
    static const std::map<std::string, std::string> renamed = {{"mc", "ve"}, {"w", "wx"}};
    const auto found = renamed.find(prefix);
    return found != renamed.end() ? found->second : "q" + prefix;
}

std::string Renamed(const std::string& name, TwinStyle style) {
    const std::size_t colon = name.find(':');
    if (colon == std::string::npos) return name;
    return Other(name.substr(0, colon), style) + name.substr(colon);
}

bool ListsPrefixes(const std::string& attribute) {
    return attribute.ends_with(":Ignorable") || attribute.ends_with(":ProcessContent") ||
           attribute.ends_with(":MustUnderstand") || attribute == "Requires";
}

void Rename(pugi::xml_node element, TwinStyle style, bool root) {
    const std::string name = element.name();
    const bool main = name.rfind("w:", 0) == 0;
    element.set_name(style == TwinStyle::DefaultNamespace && main ? name.substr(2).c_str()
                                                                  : Renamed(name, style).c_str());
    for (pugi::xml_attribute attribute : element.attributes()) {
        const std::string attributeName = attribute.name();
        if (attributeName.rfind("xmlns:", 0) == 0) {
            attribute.set_name(("xmlns:" + Other(attributeName.substr(6), style)).c_str());
            continue;
        }
        attribute.set_name(Renamed(attributeName, style).c_str());
        if (ListsPrefixes(attributeName)) {
            std::istringstream tokens(attribute.value());
            std::string value;
            for (std::string token; tokens >> token;) {
                value += (value.empty() ? "" : " ") + Renamed(token + ":", style);
                value.pop_back();
            }
            attribute.set_value(value.c_str());
        }
    }
    // The default namespace is declared where the main namespace is: on the root, as Word does.
    if (root && style == TwinStyle::DefaultNamespace && element.attribute("xmlns:ns0")) {
        element.prepend_attribute("xmlns") = kMain;
    }
    for (pugi::xml_node child : element.children()) {
        if (child.type() == pugi::node_element) Rename(child, style, false);
    }
}

// The part as Strict writes it, made by text alone: every namespace and relationship type of the
// usual form below the Strict root (the package's own stay), and the sides respelt.
std::string InStrictForm(std::string bytes, bool main) {
    static const std::regex usual(
        R"(http://schemas\.openxmlformats\.org/(?!package/)([A-Za-z]+)/2006/([A-Za-z/-]*))");
    bytes = std::regex_replace(bytes, usual, "http://purl.oclc.org/ooxml/$1/$2");
    static const std::pair<std::regex, const char*> respelt[] = {
        {std::regex("extended-properties"), "extendedProperties"},
        {std::regex("custom-properties"), "customProperties"},
        {std::regex(R"(<w:jc w:val="left")"), R"(<w:jc w:val="start")"},
        {std::regex(R"(<w:jc w:val="right")"), R"(<w:jc w:val="end")"},
        {std::regex(R"((<w:ind[^>]*) w:left=)"), "$1 w:start="},
        {std::regex(R"((<w:ind[^>]*) w:right=)"), "$1 w:end="},
    };
    for (const auto& [pattern, with] : respelt) bytes = std::regex_replace(bytes, pattern, with);
    if (main)
        bytes = std::regex_replace(bytes, std::regex("<w:document "),
                                   R"(<w:document w:conformance="strict" )");
    return bytes;
}

}  // namespace

void WritePrefixTwin(const std::string& in, const std::string& out, TwinStyle style) {
    ZipEntries entries = ReadZip(in);
    for (auto& [name, bytes] : entries) {
        if (style == TwinStyle::StrictForm && (name.ends_with(".xml") || name.ends_with(".rels"))) {
            bytes = InStrictForm(bytes, name == "word/document.xml");
            continue;
        }
        if (!name.ends_with(".xml")) continue;
        pugi::xml_document xml;
        if (!xml.load_buffer(bytes.data(), bytes.size(),
                             pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata))
            continue;
        Rename(xml.document_element(), style, true);
        std::ostringstream text;
        xml.save(text, "",
                 pugi::format_raw |
                     (style == TwinStyle::SingleQuoted ? pugi::format_attribute_single_quote : 0));
        bytes = text.str();
    }
    WriteZip(out, entries);
}
