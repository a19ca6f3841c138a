// A document's twin under other namespace prefixes: the same XML as a namespace-aware reader sees
// it, written as another writer might (a script's ns0:, a default namespace, Word 2007's ve: for
// Markup Compatibility). A comparison must find no change between the two.
#pragma once

#include <string>

enum class TwinStyle {
    OtherPrefixes,     // every prefix renamed ("w" to "wx", "mc" to "ve", ...)
    DefaultNamespace,  // elements of the main namespace unprefixed under a default namespace,
                       // its attributes under "ns0"
    SingleQuoted,      // every prefix renamed, every attribute written in single quotes
};

// Writes the twin of the .docx `in` as `out`: every XML part renamed, nothing else changed.
void WritePrefixTwin(const std::string& in, const std::string& out, TwinStyle style);
