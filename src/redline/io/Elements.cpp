#include "redline/io/Elements.h"

#include "redline/io/Xml.h"

#include <cstddef>
#include <cstdint>

namespace redline {

namespace {

using Kind = ElementKind;

bool Is(const char* name, const char* expected) {
    return SameName(name, expected);
}

struct Entry {
    const char* name;
    Kind kind;
};

// The word processing elements (w:) that are anything but Other, by their local names in order.
constexpr Entry kWordElements[] = {
    {"annotationRef", Kind::Marker},
    {"bookmarkEnd", Kind::Marker},
    {"bookmarkStart", Kind::Marker},
    {"br", Kind::Break},
    {"comment", Kind::Story},
    {"commentRangeEnd", Kind::Marker},
    {"commentRangeStart", Kind::Marker},
    {"commentReference", Kind::Marker},
    {"cr", Kind::Break},
    {"customXmlPr", Kind::Properties},
    {"del", Kind::Removing},
    {"delInstrText", Kind::FieldCode},
    {"delText", Kind::Text},
    {"drawing", Kind::Object},
    {"endnote", Kind::Story},
    {"endnoteReference", Kind::NoteReference},
    {"fldChar", Kind::FieldCharacter},
    {"footnote", Kind::Story},
    {"footnoteReference", Kind::NoteReference},
    {"ins", Kind::Adding},
    {"instrText", Kind::FieldCode},
    {"moveFrom", Kind::Removing},
    // A move's range marks: they take no place.
    {"moveFromRangeEnd", Kind::Marker},
    {"moveFromRangeStart", Kind::Marker},
    {"moveTo", Kind::Adding},
    {"moveToRangeEnd", Kind::Marker},
    {"moveToRangeStart", Kind::Marker},
    {"noBreakHyphen", Kind::NoBreakHyphen},
    {"object", Kind::Object},
    {"pPr", Kind::Properties},
    {"permEnd", Kind::Marker},
    {"permStart", Kind::Marker},
    {"pict", Kind::Object},
    {"r", Kind::Run},
    {"rPr", Kind::Properties},
    {"sdtEndPr", Kind::Properties},
    {"sdtPr", Kind::Properties},
    {"sectPr", Kind::Properties},
    {"sym", Kind::Symbol},
    {"t", Kind::Text},
    {"tab", Kind::Tab},
    {"tblGrid", Kind::Properties},
    {"tblPr", Kind::Properties},
    {"tcPr", Kind::Properties},
    {"trPr", Kind::Properties},
    {"txbxContent", Kind::Story},
};

// Where each first letter's entries begin in kWordElements, and end (at the next letter's).
struct ByFirstLetter {
    std::uint8_t begin[257] = {};
    constexpr ByFirstLetter() {
        constexpr std::size_t count = sizeof kWordElements / sizeof kWordElements[0];
        for (int c = 256; c >= 0; --c) {
            std::size_t at = count;
            for (std::size_t e = 0; e < count; ++e) {
                if (static_cast<unsigned char>(kWordElements[e].name[0]) >= c) {
                    at = e;
                    break;
                }
            }
            begin[c] = static_cast<std::uint8_t>(at);
        }
    }
};
constexpr ByFirstLetter kByFirstLetter;

// Asked for every element of a document, most of which are none of these, it decides in the
// few comparisons of one first letter's entries.
Kind WordKind(const char* n) {
    const auto first = static_cast<unsigned char>(n[0]);
    for (std::size_t e = kByFirstLetter.begin[first]; e < kByFirstLetter.begin[first + 1]; ++e) {
        if (Is(n, kWordElements[e].name)) return kWordElements[e].kind;
    }
    return Kind::Other;
}

// The equation elements (m:).
Kind MathKind(const char* n) {
    if (Is(n, "r")) return Kind::Run;
    if (Is(n, "t")) return Kind::Text;
    if (Is(n, "oMath") || Is(n, "oMathPara")) return Kind::Equation;
    return Is(n, "rPr") || Is(n, "ctrlPr") || Is(n, "oMathParaPr") ? Kind::Properties : Kind::Other;
}

}  // namespace

ElementKind KindOf(const pugi::xml_node& node) {
    return KindOfName(node.name());
}

ElementKind KindOfName(const char* name) {
    if (name[0] == 'w' && name[1] == ':') return WordKind(name + 2);
    if (name[0] == 'm' && name[1] == ':') return MathKind(name + 2);
    if (Is(name, "mc:AlternateContent")) return Kind::Object;
    return Is(name, "mc:Fallback") ? Kind::Alternative : Kind::Other;
}

}  // namespace redline
