#include "redline/io/Elements.h"

#include <cstring>
#include <string>
#include <unordered_map>

namespace redline {

namespace {

const std::unordered_map<std::string_view, ElementKind>& Kinds() {
    static const std::unordered_map<std::string_view, ElementKind> kinds = {
        {"w:r", ElementKind::Run},
        {"m:r", ElementKind::Run},
        {"w:t", ElementKind::Text},
        {"w:delText", ElementKind::Text},
        {"m:t", ElementKind::Text},
        {"w:tab", ElementKind::Tab},
        {"w:br", ElementKind::Break},
        {"w:cr", ElementKind::Break},
        {"w:noBreakHyphen", ElementKind::NoBreakHyphen},
        {"w:footnoteReference", ElementKind::NoteReference},
        {"w:endnoteReference", ElementKind::NoteReference},
        {"w:fldChar", ElementKind::FieldCharacter},
        {"w:instrText", ElementKind::FieldCode},
        {"w:delInstrText", ElementKind::FieldCode},
        {"w:drawing", ElementKind::Object},
        {"w:pict", ElementKind::Object},
        {"w:object", ElementKind::Object},
        {"mc:AlternateContent", ElementKind::Object},
        {"m:oMath", ElementKind::Equation},
        {"m:oMathPara", ElementKind::Equation},
        {"w:bookmarkStart", ElementKind::Marker},
        {"w:bookmarkEnd", ElementKind::Marker},
        {"w:commentRangeStart", ElementKind::Marker},
        {"w:commentRangeEnd", ElementKind::Marker},
        {"w:commentReference", ElementKind::Marker},
        {"w:annotationRef", ElementKind::Marker},
        {"w:permStart", ElementKind::Marker},
        {"w:permEnd", ElementKind::Marker},
        {"w:pPr", ElementKind::Properties},
        {"w:rPr", ElementKind::Properties},
        {"w:sectPr", ElementKind::Properties},
        {"w:tblPr", ElementKind::Properties},
        {"w:tblGrid", ElementKind::Properties},
        {"w:trPr", ElementKind::Properties},
        {"w:tcPr", ElementKind::Properties},
        {"w:sdtPr", ElementKind::Properties},
        {"w:sdtEndPr", ElementKind::Properties},
        {"m:rPr", ElementKind::Properties},
        {"m:ctrlPr", ElementKind::Properties},
        {"m:oMathParaPr", ElementKind::Properties},
        {"w:ins", ElementKind::Adding},
        {"w:moveTo", ElementKind::Adding},
        {"w:del", ElementKind::Removing},
        {"w:moveFrom", ElementKind::Removing},
        {"w:txbxContent", ElementKind::Story},
        {"w:footnote", ElementKind::Story},
        {"w:endnote", ElementKind::Story},
        {"w:comment", ElementKind::Story},
    };
    return kinds;
}

}  // namespace

ElementKind KindOf(const pugi::xml_node& node) {
    if (node.type() != pugi::node_element) return ElementKind::Other;
    const auto found = Kinds().find(node.name());
    return found == Kinds().end() ? ElementKind::Other : found->second;
}

std::string_view ShownText(const pugi::xml_node& element) {
    switch (KindOf(element)) {
        case ElementKind::Text:
            return element.text().get();
        case ElementKind::Tab:
            return "\t";
        case ElementKind::Break:
            return "\n";
        case ElementKind::NoBreakHyphen:
            return "\u2011";
        default:
            return {};
    }
}

}  // namespace redline
