// Whether bytes are text that XML 1.0 allows: UTF-8 that decodes, and no character the standard
// forbids (most controls, surrogates, U+FFFE and U+FFFF), written out or as a reference. An input
// part that breaks this is damaged: a word processor refuses it, and a result carrying it would
// not open.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace redline {

struct NotXmlText {
    std::size_t at;    // the offending byte's offset
    std::string what;  // "bytes that are not UTF-8", "the character U+0008"
};

// The first place where `utf8` is not XML 1.0 text. With `references`, "&#8;" counts as the
// character it names, outside comments and CDATA sections.
std::optional<NotXmlText> FindNotXmlText(std::string_view utf8, bool references);

// `text` with every stretch that XML 1.0 does not allow replaced by U+FFFD: for names that come
// from outside any document, such as an author given on the command line.
std::string AsXmlText(std::string_view text);

// Raises BadDocument naming the part `name` unless `bytes` are XML 1.0 text in their declared
// encoding (parts in another encoding than UTF-8 are decoded first) and, with `markup`, also
// well-formed markup with one root.
void CheckXmlPart(const std::string& name, const std::string& bytes, bool markup = true);

}  // namespace redline
