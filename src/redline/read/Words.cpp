#include "redline/read/Words.h"

namespace redline {

namespace {

enum class Kind { Letter, Blank, Mark, Ideograph, Object };

// The code point at `at` and its length in bytes; a broken sequence counts as one letter byte.
char32_t Decode(std::string_view text, std::size_t at, std::size_t& length) {
    const auto c = static_cast<unsigned char>(text[at]);
    const int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    length = 1;
    if (at + extra >= text.size()) return 0xFFFD;  // cut short at the end
    char32_t code = extra == 3 ? c & 0x07 : extra == 2 ? c & 0x0F : extra == 1 ? c & 0x1F : c;
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            length = 1;
            return 0xFFFD;
        }
        code = (code << 6) | (next & 0x3F);
    }
    length = static_cast<std::size_t>(extra) + 1;
    return code;
}

// The kinds of the ASCII characters, which most text is made of, looked up rather than worked out.
struct AsciiKinds {
    Kind kinds[128];
    constexpr AsciiKinds() : kinds() {
        for (int c = 0; c < 128; ++c) {
            const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                                (c >= '0' && c <= '9') || c == '_';
            kinds[c] = c == static_cast<unsigned char>(kObjectMark) ? Kind::Object
                       : c == ' '                                   ? Kind::Blank
                       : letter                                     ? Kind::Letter
                                                                    : Kind::Mark;
        }
    }
};
constexpr AsciiKinds kAscii;

Kind KindOf(char32_t c) {
    if (c < 0x80) return kAscii.kinds[c];
    if (c == 0xA0 || c == 0x3000 || (c >= 0x2000 && c <= 0x200B)) return Kind::Blank;
    // Scripts without blanks between words: each character is a word of its own.
    if ((c >= 0x3040 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x9FFF) ||
        (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF)) {
        return Kind::Ideograph;
    }
    // General punctuation, symbols and CJK punctuation; and Latin-1's signs (currencies, the
    // section sign, quotation marks, ×, ÷), which stand apart from words as € does, but for its
    // letters, superscript digits and fractions (ª º µ ² ³ ¹ ¼ ½ ¾).
    if ((c >= 0x2010 && c <= 0x2BFF) || (c >= 0x3001 && c <= 0x303F) ||
        (c >= 0xFF00 && c <= 0xFF0F) || c == 0xD7 || c == 0xF7) {
        return Kind::Mark;
    }
    if (c >= 0xA1 && c <= 0xBF) {
        const bool partOfWords = c == 0xAA || c == 0xBA || c == 0xB5 || c == 0xB2 || c == 0xB3 ||
                                 c == 0xB9 || (c >= 0xBC && c <= 0xBE);
        return partOfWords ? Kind::Letter : Kind::Mark;
    }
    return Kind::Letter;  // the letters of every other script
}

bool Apostrophe(char32_t c) {
    return c == '\'' || c == 0x2019;
}

}  // namespace

std::vector<WordSpan> SplitWords(std::string_view text) {
    std::vector<WordSpan> words;
    words.reserve(text.size() / 4);
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t length = 1;
        const auto first = static_cast<unsigned char>(text[at]);
        const Kind kind = first < 0x80 ? kAscii.kinds[first] : KindOf(Decode(text, at, length));
        std::size_t end = at + length;
        if (kind == Kind::Letter || kind == Kind::Blank) {
            while (end < text.size()) {
                // Plain ASCII, the most of any text, without decoding.
                const auto byte = static_cast<unsigned char>(text[end]);
                if (byte < 0x80 && byte != '\'') {
                    if (kAscii.kinds[byte] != kind) break;
                    ++end;
                    continue;
                }
                std::size_t next = 0;
                const char32_t c = Decode(text, end, next);
                Kind k = KindOf(c);
                // "don't" is one word: an apostrophe between letters joins them.
                if (kind == Kind::Letter && Apostrophe(c) && end + next < text.size()) {
                    std::size_t after = 0;
                    if (KindOf(Decode(text, end + next, after)) == Kind::Letter) k = Kind::Letter;
                }
                if (k != kind) break;
                end += next;
            }
        }
        words.push_back({static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(end)});
        at = end;
    }
    return words;
}

bool HoldsLetters(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            const Kind kind = kAscii.kinds[byte];
            if (kind == Kind::Letter || kind == Kind::Object) return true;
            ++at;
            continue;
        }
        std::size_t length = 0;
        const Kind kind = KindOf(Decode(text, at, length));
        if (kind == Kind::Letter || kind == Kind::Ideograph || kind == Kind::Object) return true;
        at += length;
    }
    return false;
}

bool IsBlank(std::string_view unit) {
    if (unit.empty()) return false;
    std::size_t length = 0;
    return KindOf(Decode(unit, 0, length)) == Kind::Blank;  // units hold one kind alone
}

namespace {

// The small letter of a capital beyond ASCII (FoldCase folds ASCII itself, byte by byte).
char32_t Lower(char32_t c) {
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F)) {
        return c + 32;
    }
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    // Latin Extended-A, and Cyrillic's further letters: capitals and small ones alternate.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177) || (c >= 0x460 && c <= 0x4BF) ||
        (c >= 0x4D0 && c <= 0x52F)) {
        return c % 2 == 0 ? c + 1 : c;
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return c % 2 == 1 ? c + 1 : c;
    return c;
}

}  // namespace

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string FoldCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            out += static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + 32 : byte);
            ++at;
            continue;
        }
        std::size_t length = 0;
        const char32_t c = Decode(text, at, length);
        if (c == 0xFFFD) {
            out.append(text.substr(at, length));  // a broken sequence stays as it is
        } else {
            AppendUtf8(Lower(c), out);
        }
        at += length;
    }
    return out;
}

}  // namespace redline
