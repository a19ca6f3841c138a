#include "redline/io/StrictForm.h"

#include <pugixml.hpp>

#include <cstring>
#include <set>
#include <vector>

#include "redline/Errors.h"
#include "redline/io/KnownNamespaces.h"

namespace redline {

namespace {

constexpr std::string_view kUsualRoot = "http://schemas.openxmlformats.org/";
constexpr std::string_view kStrictWordMain = "http://purl.oclc.org/ooxml/wordprocessingml/main";

// The Strict form spells these names in one word; the usual form with a hyphen.
constexpr std::pair<std::string_view, std::string_view> kSpelling[] = {
    {"extendedProperties", "extended-properties"},
    {"customProperties", "custom-properties"},
};

// Strict's "start" and "end" sides, where the usual form says "left" and "right".
constexpr std::pair<const char*, const char*> kSides[] = {{"start", "left"}, {"end", "right"}};
constexpr std::pair<const char*, const char*> kIndentation[] = {
    {"start", "left"}, {"end", "right"}, {"startChars", "leftChars"}, {"endChars", "rightChars"}};
// Elements whose children name sides: borders and cell margins.
constexpr const char* kSideHolders[] = {"pBdr",       "tblBorders", "tcBorders",
                                        "tblCellMar", "tcMar",      "tblPrEx"};

bool Local(const pugi::xml_node& node, const std::set<std::string, std::less<>>& prefixes,
           const char* local) {
    const std::string_view name = node.name();
    return prefixes.count(PrefixOf(name)) != 0 && LocalOf(name) == local;
}

// The prefixes that the root binds to the main namespace of the Strict form.
std::set<std::string, std::less<>> WordPrefixes(const pugi::xml_node& root) {
    std::set<std::string, std::less<>> prefixes;
    for (const pugi::xml_attribute& attribute : root.attributes()) {
        const std::string_view name = attribute.name();
        if (IsDeclaration(name) && attribute.value() == kStrictWordMain)
            prefixes.emplace(name == "xmlns" ? "" : name.substr(6));
    }
    return prefixes;
}

// Brings one element's names and values to the usual form.
void Usual(pugi::xml_node element, const std::set<std::string, std::less<>>& word) {
    // Declarations, relationship types, and the URIs that name what a drawing holds.
    for (pugi::xml_attribute attribute : element.attributes()) {
        if (std::string_view(attribute.value()).starts_with(kStrictRoot))
            attribute.set_value(UsualFormUri(attribute.value()).c_str());
    }
    if (word.empty()) return;
    const std::string prefix(PrefixOf(element.name()));
    const auto qualified = [&](const char* local) { return Qualified(prefix, local); };
    if (Local(element, word, "document"))
        element.remove_attribute(qualified("conformance").c_str());
    if (Local(element, word, "jc")) {
        pugi::xml_attribute value = element.attribute(qualified("val").c_str());
        for (const auto& [strict, usual] : kSides)
            if (std::strcmp(value.value(), strict) == 0) value.set_value(usual);
    }
    if (Local(element, word, "ind")) {
        for (const auto& [strict, usual] : kIndentation) {
            pugi::xml_attribute side = element.attribute(qualified(strict).c_str());
            if (side && !element.attribute(qualified(usual).c_str()))
                side.set_name(qualified(usual).c_str());
        }
    }
    const pugi::xml_node parent = element.parent();
    for (const char* holder : kSideHolders) {
        if (!Local(parent, word, holder)) continue;
        for (const auto& [strict, usual] : kSides)
            if (Local(element, word, strict)) element.set_name(qualified(usual).c_str());
    }
}

}  // namespace

std::string UsualFormUri(std::string_view uri) {
    if (!uri.starts_with(kStrictRoot)) return std::string(uri);
    const std::string_view rest = uri.substr(kStrictRoot.size());
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return std::string(uri);
    std::string tail(rest.substr(slash + 1));
    for (const auto& [strict, usual] : kSpelling) {
        const std::size_t at = tail.find(strict);
        const std::size_t end = at + strict.size();
        if (at != std::string::npos && (at == 0 || tail[at - 1] == '/') &&
            (end == tail.size() || tail[end] == '/')) {
            tail.replace(at, strict.size(), usual);
        }
    }
    return std::string(kUsualRoot).append(rest.substr(0, slash)).append("/2006/").append(tail);
}

bool NamesStrictForm(std::string_view bytes) {
    return bytes.find(kStrictRoot) != std::string_view::npos;
}

std::string InUsualForm(const std::string& name, const std::string& bytes) {
    pugi::xml_document document;
    // Everything kept, white space, comments and the declaration included: only names change.
    const unsigned options = pugi::parse_default | pugi::parse_declaration | pugi::parse_comments |
                             pugi::parse_pi | pugi::parse_ws_pcdata;
    const pugi::xml_parse_result parsed = document.load_buffer(bytes.data(), bytes.size(), options);
    if (!parsed) {
        throw BadDocument("the part " + name + " is not well-formed XML: " + parsed.description() +
                          " at byte " + std::to_string(parsed.offset));
    }
    const auto word = WordPrefixes(document.document_element());
    // Without recursion: the depth of a part is checked only when it is parsed for comparing.
    std::vector<pugi::xml_node> pending{document.document_element()};
    while (!pending.empty()) {
        const pugi::xml_node element = pending.back();
        pending.pop_back();
        Usual(element, word);
        for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
            if (child.type() == pugi::node_element) pending.push_back(child);
    }
    // Written in UTF-8, whatever the part declared.
    for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
        if (node.type() == pugi::node_declaration && node.attribute("encoding"))
            node.attribute("encoding").set_value("UTF-8");
    }
    struct Text : pugi::xml_writer {
        std::string bytes;
        void write(const void* data, size_t size) override {
            bytes.append(static_cast<const char*>(data), size);
        }
    } text;
    document.save(text, "", pugi::format_raw, pugi::encoding_utf8);
    return text.bytes;
}

}  // namespace redline
