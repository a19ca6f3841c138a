#include "redline/io/XmlText.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "redline/Errors.h"
#include "redline/io/Xml.h"

namespace redline {

namespace {

bool AllowedCharacter(std::uint32_t c) {
    if (c < 0x20) return c == 0x9 || c == 0xA || c == 0xD;
    if (c >= 0xD800 && c <= 0xDFFF) return false;
    return c != 0xFFFE && c != 0xFFFF && c <= 0x10FFFF;
}

std::string CodePoint(std::uint32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

// Decodes one UTF-8 sequence at `at`: its code point and length, or a length of 0 where the
// bytes are not UTF-8 (cut short, overlong, a surrogate, or past U+10FFFF).
std::pair<std::uint32_t, std::size_t> Decode(std::string_view bytes, std::size_t at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    std::size_t length = lead < 0x80   ? 1
                         : lead < 0xC2 ? 0
                         : lead < 0xE0 ? 2
                         : lead < 0xF0 ? 3
                         : lead < 0xF5 ? 4
                                       : 0;
    if (length == 0 || at + length > bytes.size()) return {0, 0};
    std::uint32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[at + i]);
        if ((next & 0xC0) != 0x80) return {0, 0};
        c = (c << 6) | (next & 0x3F);
    }
    static constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {0, 0};
    return {c, length};
}

// What is wrong with the reference that starts at the "&" at `at`, or nullopt when nothing is:
// a character reference must name a character XML allows, and only XML's five entities exist in
// a part, which no document type declares more of.
std::optional<std::string> ReferenceProblem(std::string_view bytes, std::size_t at) {
    const std::size_t end = bytes.find(';', at);
    if (end == std::string_view::npos || end - at > 40) return "an \"&\" that begins no reference";
    const std::string_view name = bytes.substr(at + 1, end - at - 1);
    if (!name.starts_with('#')) {
        for (const char* known : {"lt", "gt", "amp", "apos", "quot"})
            if (name == known) return std::nullopt;
        return "a reference to an entity that nothing declares";
    }
    const bool hex = name.size() > 1 && name[1] == 'x';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    std::uint64_t value = 0;
    for (const char d : digits) {
        const int digit = d >= '0' && d <= '9'          ? d - '0'
                          : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                          : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                        : -1;
        if (digit < 0) return "a broken character reference";
        value = std::min<std::uint64_t>(value * (hex ? 16 : 10) + digit, 0x110000);
    }
    if (digits.empty()) return "a broken character reference";
    if (!AllowedCharacter(static_cast<std::uint32_t>(value)))
        return "the character " + CodePoint(static_cast<std::uint32_t>(value));
    return std::nullopt;
}

// Where a comment, CDATA section or processing instruction that starts at `at` ends, or `at`
// when none starts there: "&#8;" inside one is text, not a reference.
std::size_t PastLiteralText(std::string_view bytes, std::size_t at) {
    for (const auto& [open, close] : {std::pair<std::string_view, std::string_view>{"<!--", "-->"},
                                      {"<![CDATA[", "]]>"},
                                      {"<?", "?>"}}) {
        if (bytes.compare(at, open.size(), open) != 0) continue;
        const std::size_t end = bytes.find(close, at + open.size());
        return end == std::string_view::npos ? bytes.size() : end;
    }
    return at;
}

// Whether any of the eight bytes at `bytes` may need a closer look: a control, a byte of a
// multi-byte character, "&", or the "!" and "?" that open a comment, CDATA or an instruction
// after "<". Eight at a time, as the bytes of one word: most of a part needs no look at all. It
// may answer yes for a byte beside such a one, never no for one.
bool MayNeedALook(const char* bytes) {
    constexpr std::uint64_t kOnes = 0x0101010101010101, kHigh = 0x8080808080808080;
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    const auto below = [&](std::uint64_t n) { return (word - kOnes * n) & ~word & kHigh; };
    const auto equal = [&](unsigned char c) {
        const std::uint64_t x = word ^ (kOnes * c);
        return (x - kOnes) & ~x & kHigh;
    };
    return ((word & kHigh) | below(0x20) | equal('&') | equal('!') | equal('?')) != 0;
}

// Whether the part is in UTF-8: no mark of UTF-16 or UTF-32, and no other encoding declared.
bool InUtf8(std::string_view bytes) {
    if (bytes.size() >= 2 &&
        (static_cast<unsigned char>(bytes[0]) >= 0xFE || bytes[0] == 0 || bytes[1] == 0)) {
        return false;
    }
    if (!bytes.starts_with("<?xml")) return true;
    const std::string_view declaration = bytes.substr(0, bytes.find("?>"));
    const std::size_t encoding = declaration.find("encoding");
    if (encoding == std::string_view::npos) return true;
    std::string name;
    for (std::size_t i = declaration.find_first_of("\"'", encoding) + 1;
         i > 0 && i < declaration.size() && declaration[i] != '"' && declaration[i] != '\''; ++i) {
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(declaration[i])));
    }
    return name == "utf-8" || name == "utf8";
}

// What keeps the part from being well-formed beyond its characters (a tag cut short, a quote
// lost, a second root), for parts the comparison only carries and never parses itself.
std::optional<NotXmlText> NotWellFormed(const std::string& bytes) {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer(bytes.data(), bytes.size(), pugi::parse_minimal);
    if (!parsed) {
        return NotXmlText{static_cast<std::size_t>(parsed.offset),
                          std::string("broken markup (") + parsed.description() + ")"};
    }
    int roots = 0;
    for (const pugi::xml_node& top : document.children()) roots += top.type() == pugi::node_element;
    if (roots != 1) return NotXmlText{0, std::to_string(roots) + " root elements"};
    return std::nullopt;
}

}  // namespace

std::optional<NotXmlText> FindNotXmlText(std::string_view utf8, bool references) {
    std::size_t at = 0, literalEnd = 0;
    if (utf8.starts_with("\xEF\xBB\xBF")) at = 3;  // the byte order mark
    while (at < utf8.size()) {
        if (at + 8 <= utf8.size() && !MayNeedALook(utf8.data() + at)) {
            at += 8;
            continue;
        }
        const auto byte = static_cast<unsigned char>(utf8[at]);
        // A comment, CDATA section or processing instruction: "<!" or "<?".
        if (references && (byte == '!' || byte == '?') && at > literalEnd && utf8[at - 1] == '<')
            literalEnd = PastLiteralText(utf8, at - 1);
        if (references && byte == '&' && at >= literalEnd) {
            if (std::optional<std::string> problem = ReferenceProblem(utf8, at))
                return NotXmlText{at, std::move(*problem)};
        }
        if (byte >= 0x20 && byte < 0x80) {
            ++at;
            continue;
        }
        const auto [c, length] = Decode(utf8, at);
        if (length == 0) return NotXmlText{at, "bytes that are not UTF-8"};
        if (!AllowedCharacter(c)) return NotXmlText{at, "the character " + CodePoint(c)};
        at += length;
    }
    return std::nullopt;
}

std::string AsXmlText(std::string_view text) {
    std::string out;
    std::size_t at = 0;
    while (const std::optional<NotXmlText> bad = FindNotXmlText(text.substr(at), false)) {
        out.append(text.substr(at, bad->at));
        out += "\xEF\xBF\xBD";
        const auto [c, length] = Decode(text, at + bad->at);
        at += bad->at + (length == 0 ? 1 : length);
    }
    out.append(text.substr(at));
    return out;
}

void CheckXmlPart(const std::string& name, const std::string& bytes, bool markup) {
    // Refused before any reading: a parsed part takes a multiple of its size.
    if (bytes.size() > kLargestXmlPart) {
        throw BadDocument("the part " + name + " is too large.", kLargestXmlPart >> 20);
    }
    std::optional<NotXmlText> bad;
    if (InUtf8(bytes)) {
        bad = FindNotXmlText(bytes, true);
    } else {
        // Decoded and written again as UTF-8, whose references the check then reads.
        pugi::xml_document document;
        if (!document.load_buffer(bytes.data(), bytes.size(), pugi::parse_default)) return;
        struct Text : pugi::xml_writer {
            std::string bytes;
            void write(const void* data, size_t size) override {
                bytes.append(static_cast<const char*>(data), size);
            }
        } text;
        document.save(text, "", pugi::format_raw, pugi::encoding_utf8);
        if (FindNotXmlText(text.bytes, true)) bad = NotXmlText{0, "a character that XML forbids"};
    }
    if (!bad && markup) bad = NotWellFormed(bytes);
    if (bad) {
        throw BadDocument("the part " + name + " is not well-formed XML: it holds " + bad->what +
                          (bad->at > 0 ? " at byte " + std::to_string(bad->at) : std::string()));
    }
}

}  // namespace redline
