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
    StrictForm,        // ISO/IEC 29500 Strict: namespaces and relationship types under Strict's
                       // names, "start" and "end" for left and right, the conformance said
};

// Writes the twin of the .docx `in` as `out`: every XML part renamed, nothing else changed.
// (The Strict form also renames relationship types and respells a few values.)
void WritePrefixTwin(const std::string& in, const std::string& out, TwinStyle style);
