// What a WordprocessingML element is, decided once for every reader of the engine: the
// comparison, the change list and the marked-result reader ask here, so that they cannot
// disagree on what text a run shows or which marks take content away.
#pragma once

#include <pugixml.hpp>

#include <cstdint>

namespace redline {

enum class ElementKind : std::uint8_t {
    Other,           // anything else: walked into where it holds content
    Run,             // w:r, and an equation's m:r
    Text,            // w:t, w:delText, m:t
    Tab,             // w:tab
    Break,           // w:br, w:cr
    NoBreakHyphen,   // w:noBreakHyphen
    Symbol,          // w:sym
    NoteReference,   // w:footnoteReference, w:endnoteReference
    FieldCharacter,  // w:fldChar
    FieldCode,       // w:instrText, w:delInstrText
    Object,          // w:drawing, w:pict, w:object, mc:AlternateContent
    Equation,        // m:oMath, m:oMathPara
    Marker,          // takes no place: bookmarks, comment ranges and references, permissions,
                     // a move's range marks
    Properties,      // w:pPr, w:rPr, w:sectPr, w:tblPr, w:trPr, w:tcPr, w:sdtPr, m:rPr, m:ctrlPr...
    Adding,          // a mark that adds content: w:ins, w:moveTo
    Removing,        // a mark that takes content away: w:del, w:moveFrom
    Story,           // holds a story of its own: w:txbxContent, w:footnote, w:endnote, w:comment
    Alternative,     // mc:Fallback: the same content again in an older form, never shown
};

ElementKind KindOf(const pugi::xml_node& node);
// The same, by the element's qualified name ("w:ins"), for a walk that holds it already.
ElementKind KindOfName(const char* name);

// Walks the elements below `node` in document order, each with its kind: `visit(element, kind)`
// answers whether to walk into the element too.
template <class Visit>
void WalkContent(const pugi::xml_node& node, Visit&& visit) {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && visit(child, KindOf(child))) {
            WalkContent(child, visit);
        }
    }
}

}  // namespace redline
