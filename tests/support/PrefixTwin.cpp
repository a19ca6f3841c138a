#include "support/PrefixTwin.h"

#include <pugixml.hpp>

#include <map>
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

}  // namespace

void WritePrefixTwin(const std::string& in, const std::string& out, TwinStyle style) {
    ZipEntries entries = ReadZip(in);
    for (auto& [name, bytes] : entries) {
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
