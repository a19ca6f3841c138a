#include "redline/io/Elements.h"

#include "redline/io/Xml.h"

namespace redline {

namespace {

using Kind = ElementKind;

bool Is(const char* name, const char* expected) {
    return SameName(name, expected);
}

// The word processing elements (w:), by their local name's first letter: asked for every
// element of a document, most of which are none of these, it decides in a few comparisons.
Kind WordKind(const char* n) {
    switch (n[0]) {
        case 'r':
            return Is(n, "r") ? Kind::Run : Is(n, "rPr") ? Kind::Properties : Kind::Other;
        case 't':
            if (Is(n, "t")) return Kind::Text;
            if (Is(n, "tab")) return Kind::Tab;
            if (Is(n, "txbxContent")) return Kind::Story;
            return Is(n, "tblPr") || Is(n, "tblGrid") || Is(n, "trPr") || Is(n, "tcPr")
                       ? Kind::Properties
                       : Kind::Other;
        case 'p':
            if (Is(n, "pPr")) return Kind::Properties;
            if (Is(n, "pict")) return Kind::Object;
            return Is(n, "permStart") || Is(n, "permEnd") ? Kind::Marker : Kind::Other;
        case 'd':
            if (Is(n, "delText")) return Kind::Text;
            if (Is(n, "del")) return Kind::Removing;
            if (Is(n, "drawing")) return Kind::Object;
            return Is(n, "delInstrText") ? Kind::FieldCode : Kind::Other;
        case 'i':
            return Is(n, "ins") ? Kind::Adding : Is(n, "instrText") ? Kind::FieldCode : Kind::Other;
        case 'm':
            if (Is(n, "moveTo")) return Kind::Adding;
            if (Is(n, "moveFrom")) return Kind::Removing;
            // A move's range marks: they take no place.
            return Is(n, "moveFromRangeStart") || Is(n, "moveFromRangeEnd") ||
                           Is(n, "moveToRangeStart") || Is(n, "moveToRangeEnd")
                       ? Kind::Marker
                       : Kind::Other;
        case 'b':
            if (Is(n, "br")) return Kind::Break;
            return Is(n, "bookmarkStart") || Is(n, "bookmarkEnd") ? Kind::Marker : Kind::Other;
        case 'c':
            if (Is(n, "cr")) return Kind::Break;
            if (Is(n, "customXmlPr")) return Kind::Properties;
            if (Is(n, "comment")) return Kind::Story;
            return Is(n, "commentRangeStart") || Is(n, "commentRangeEnd") ||
                           Is(n, "commentReference")
                       ? Kind::Marker
                       : Kind::Other;
        case 'a':
            return Is(n, "annotationRef") ? Kind::Marker : Kind::Other;
        case 'n':
            return Is(n, "noBreakHyphen") ? Kind::NoBreakHyphen : Kind::Other;
        case 'f':
            if (Is(n, "footnoteReference")) return Kind::NoteReference;
            if (Is(n, "fldChar")) return Kind::FieldCharacter;
            return Is(n, "footnote") ? Kind::Story : Kind::Other;
        case 'e':
            if (Is(n, "endnoteReference")) return Kind::NoteReference;
            return Is(n, "endnote") ? Kind::Story : Kind::Other;
        case 'o':
            return Is(n, "object") ? Kind::Object : Kind::Other;
        case 's':
            if (Is(n, "sym")) return Kind::Symbol;
            return Is(n, "sectPr") || Is(n, "sdtPr") || Is(n, "sdtEndPr") ? Kind::Properties
                                                                          : Kind::Other;
        default:
            return Kind::Other;
    }
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
