// Documents saved in the Strict form of OOXML, read as the usual (Transitional) form that every
// stage of the engine and every word processor reads: their namespaces and relationship types
// lie below another root, and a few values are spelt otherwise (start and end for left and
// right). Each part that names the Strict root is brought to the usual form as the package is
// read, so the result is written in the usual form too.
#pragma once

#include <string>
#include <string_view>

namespace redline {

// The usual form's name for a namespace or relationship type of the Strict form
// ("http://purl.oclc.org/ooxml/wordprocessingml/main" gives
// "http://schemas.openxmlformats.org/wordprocessingml/2006/main"); any other name as it is.
std::string UsualFormUri(std::string_view uri);

// Whether the XML part's bytes name the Strict form anywhere.
bool NamesStrictForm(std::string_view bytes);

// The XML part `bytes` in the usual form; raises BadDocument naming `name` when it is not
// well-formed.
std::string InUsualForm(const std::string& name, const std::string& bytes);

}  // namespace redline
