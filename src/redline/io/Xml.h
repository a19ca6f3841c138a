// The XML parts of a package as pugixml documents: parsed under limits (no DTD, no entities of
// its own, a bounded depth), and written back.
#pragma once

#include <pugixml.hpp>

#include <cstring>
#include <initializer_list>
#include <string>

namespace redline {

inline constexpr int kDeepestXml = 256;
// Larger parts are refused before parsing: a parsed part takes about three times its size, and
// ten thousand pages of Word's own markup stay well below this.
inline constexpr std::size_t kLargestXmlPart = 160u << 20;

class Namespaces;

// Parses the part `name` from `bytes`, its names brought to the prefixes of `names`. Raises
// BadDocument when it is not well-formed XML, is nested deeper than kDeepestXml, or is Strict
// Open XML.
void ParsePart(pugi::xml_document& document, const std::string& bytes, const std::string& name,
               Namespaces& names);

// A body of at least this many blocks is written in two halves at once, one on a thread of its
// own; together they are the bytes of writing the document in one go.
inline constexpr std::size_t kHalvesFrom = 2048;

// The document as the bytes of a part, with its XML declaration.
std::string SerializePart(const pugi::xml_document& document, std::size_t halvesFrom = kHalvesFrom);

// Whether SerializeTo writes the document in two halves.
bool InHalves(const pugi::xml_document& document, std::size_t halvesFrom = kHalvesFrom);

// Writes the document's bytes to `first`; or, for a w:document whose body holds at least
// `halvesFrom` blocks, the first half of them to `first` and the rest to `second`, both at once.
// Answers how many writers it wrote to.
int SerializeTo(const pugi::xml_document& document, pugi::xml_writer& first,
                pugi::xml_writer& second, std::size_t halvesFrom = kHalvesFrom);

// Whether the qualified name `own` is `name`: names are short and most differ early, so they
// are compared here, without a call into the C library.
inline bool SameName(const char* own, const char* name) {
    while (*name != 0 && *own == *name) {
        ++own;
        ++name;
    }
    return *own == *name;
}

// Whether the element is named `name` ("w:p"): every part is read with the prefixes Word
// writes, whatever its writer chose (io/Namespaces).
inline bool Named(const pugi::xml_node& node, const char* name) {
    return SameName(node.name(), name);
}

// Whether the element is named any of `names`.
inline bool NamedOneOf(const pugi::xml_node& node, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (Named(node, name)) return true;
    }
    return false;
}

// Whether at least `count` elements lie below `node`: counted no further than that.
bool HoldsAtLeast(const pugi::xml_node& node, std::size_t count);

// The value of attribute `name` of `node`, or "" (for the many optional attributes).
inline std::string Attribute(const pugi::xml_node& node, const char* name) {
    return node.attribute(name).value();
}

}  // namespace redline
