// The names of the elements the engine's stages handle, as every part is read (io/Namespaces
// brings each namespace to one prefix, whatever its writer chose): named here once, so that no
// stage spells an element's name, and a misspelt one does not compile.
#pragma once

namespace redline {

// core properties
namespace cp {
inline constexpr const char* lastModifiedBy = "cp:lastModifiedBy";
}  // namespace cp

// Dublin Core
namespace dc {
inline constexpr const char* creator = "dc:creator";
}  // namespace dc

// Markup compatibility
namespace mc {
inline constexpr const char* AlternateContent = "mc:AlternateContent";
inline constexpr const char* Fallback = "mc:Fallback";
}  // namespace mc

// Office Math
namespace m {
inline constexpr const char* oMath = "m:oMath";
inline constexpr const char* oMathPara = "m:oMathPara";
inline constexpr const char* r = "m:r";
inline constexpr const char* rPr = "m:rPr";
inline constexpr const char* t = "m:t";
}  // namespace m

// DrawingML pictures
namespace pic {
inline constexpr const char* cNvPr = "pic:cNvPr";
}  // namespace pic

// WordprocessingML
namespace w {
inline constexpr const char* basedOn = "w:basedOn";
inline constexpr const char* body = "w:body";
inline constexpr const char* bookmarkEnd = "w:bookmarkEnd";
inline constexpr const char* bookmarkStart = "w:bookmarkStart";
inline constexpr const char* cellDel = "w:cellDel";
inline constexpr const char* cellIns = "w:cellIns";
inline constexpr const char* comment = "w:comment";
inline constexpr const char* commentRangeEnd = "w:commentRangeEnd";
inline constexpr const char* commentRangeStart = "w:commentRangeStart";
inline constexpr const char* commentReference = "w:commentReference";
inline constexpr const char* customXml = "w:customXml";
inline constexpr const char* del = "w:del";
inline constexpr const char* delInstrText = "w:delInstrText";
inline constexpr const char* delText = "w:delText";
inline constexpr const char* document = "w:document";
inline constexpr const char* endnote = "w:endnote";
inline constexpr const char* endnoteReference = "w:endnoteReference";
inline constexpr const char* fldSimple = "w:fldSimple";
inline constexpr const char* footerReference = "w:footerReference";
inline constexpr const char* footnote = "w:footnote";
inline constexpr const char* footnoteReference = "w:footnoteReference";
inline constexpr const char* gridCol = "w:gridCol";
inline constexpr const char* headerReference = "w:headerReference";
inline constexpr const char* hyperlink = "w:hyperlink";
inline constexpr const char* ins = "w:ins";
inline constexpr const char* instrText = "w:instrText";
inline constexpr const char* link = "w:link";
inline constexpr const char* moveFrom = "w:moveFrom";
inline constexpr const char* moveFromRangeEnd = "w:moveFromRangeEnd";
inline constexpr const char* moveFromRangeStart = "w:moveFromRangeStart";
inline constexpr const char* moveTo = "w:moveTo";
inline constexpr const char* moveToRangeEnd = "w:moveToRangeEnd";
inline constexpr const char* moveToRangeStart = "w:moveToRangeStart";
inline constexpr const char* next = "w:next";
inline constexpr const char* p = "w:p";
inline constexpr const char* permEnd = "w:permEnd";
inline constexpr const char* permStart = "w:permStart";
inline constexpr const char* pPr = "w:pPr";
inline constexpr const char* pPrChange = "w:pPrChange";
inline constexpr const char* proofErr = "w:proofErr";
inline constexpr const char* pStyle = "w:pStyle";
inline constexpr const char* r = "w:r";
inline constexpr const char* rPr = "w:rPr";
inline constexpr const char* rPrChange = "w:rPrChange";
inline constexpr const char* rStyle = "w:rStyle";
inline constexpr const char* sdt = "w:sdt";
inline constexpr const char* sdtContent = "w:sdtContent";
inline constexpr const char* sdtEndPr = "w:sdtEndPr";
inline constexpr const char* sdtPr = "w:sdtPr";
inline constexpr const char* sectPr = "w:sectPr";
inline constexpr const char* sectPrChange = "w:sectPrChange";
inline constexpr const char* smartTag = "w:smartTag";
inline constexpr const char* style = "w:style";
inline constexpr const char* styles = "w:styles";
inline constexpr const char* t = "w:t";
inline constexpr const char* tbl = "w:tbl";
inline constexpr const char* tblGrid = "w:tblGrid";
inline constexpr const char* tblGridChange = "w:tblGridChange";
inline constexpr const char* tblPr = "w:tblPr";
inline constexpr const char* tblPrChange = "w:tblPrChange";
inline constexpr const char* tblStyle = "w:tblStyle";
inline constexpr const char* tc = "w:tc";
inline constexpr const char* tcPr = "w:tcPr";
inline constexpr const char* tcPrChange = "w:tcPrChange";
inline constexpr const char* tr = "w:tr";
inline constexpr const char* trPr = "w:trPr";
inline constexpr const char* trPrChange = "w:trPrChange";
inline constexpr const char* txbxContent = "w:txbxContent";
}  // namespace w

// Word 2012
namespace w15 {
inline constexpr const char* commentEx = "w15:commentEx";
}  // namespace w15

// DrawingML placement
namespace wp {
inline constexpr const char* docPr = "wp:docPr";
}  // namespace wp

}  // namespace redline
