// The namespaces the engine knows by the prefixes Word writes for them (w, r, m, wp, a, mc, w14,
// ...), and the names made of prefixes: what a qualified name's prefix and local name are, and
// Markup Compatibility's attributes whose values list prefixes.
#pragma once

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

namespace redline {

struct Known {
    const char* prefix;  // "" for the package's own namespaces, which parts use unprefixed
    const char* uri;
};

inline constexpr std::string_view kXmlUri = "http://www.w3.org/XML/1998/namespace";
// Every namespace of ISO/IEC 29500 Strict lies below this; Transitional's lie elsewhere.
inline constexpr std::string_view kStrictRoot = "http://purl.oclc.org/ooxml/";

// The known namespace of that name, or of that prefix; nullptr for any other.
const Known* KnownByUri(std::string_view uri);
const Known* KnownByPrefix(std::string_view prefix);

inline std::string_view PrefixOf(std::string_view name) {
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? std::string_view() : name.substr(0, colon);
}

inline std::string_view LocalOf(std::string_view name) {
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

inline std::string Qualified(std::string_view prefix, std::string_view local) {
    std::string name(prefix);
    if (!name.empty()) name += ':';
    return name.append(local);
}

// Markup Compatibility's attributes whose values name prefixes, alone or in qualified names.
inline bool NamesPrefixes(const pugi::xml_node& element, std::string_view attribute) {
    if (attribute == "Requires") return std::strcmp(element.name(), "mc:Choice") == 0;
    return attribute == "mc:Ignorable" || attribute == "mc:ProcessContent" ||
           attribute == "mc:MustUnderstand" || attribute == "mc:PreserveElements" ||
           attribute == "mc:PreserveAttributes";
}

// The value's prefixes, alone ("w14") or in qualified names ("w14:*"), each mapped through
// `map`; a token whose prefix maps to nothing is dropped.
template <class Map>
std::string MapTokens(std::string_view value, Map&& map) {
    std::string out;
    std::size_t at = 0;
    while (at < value.size()) {
        const std::size_t begin = value.find_first_not_of(" \t\r\n", at);
        if (begin == std::string_view::npos) break;
        const std::size_t end = std::min(value.find_first_of(" \t\r\n", begin), value.size());
        const std::string_view token = value.substr(begin, end - begin);
        at = end;
        const bool qualified = token.find(':') != std::string_view::npos;
        const std::string_view prefix = qualified ? PrefixOf(token) : token;
        std::string mapped;
        if (!map(prefix, mapped)) continue;
        if (!out.empty()) out += ' ';
        out += qualified ? Qualified(mapped, LocalOf(token)) : mapped;
    }
    return out;
}

inline bool IsDeclaration(std::string_view name) {
    return name == "xmlns" || name.starts_with("xmlns:");
}

}  // namespace redline
