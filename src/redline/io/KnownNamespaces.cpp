#include "redline/io/KnownNamespaces.h"

namespace redline {

namespace {

// The prefixes Word writes, which every stage of the engine names elements by; the package's
// own namespaces are used unprefixed. Word 2007 wrote Markup Compatibility as "ve".
constexpr Known kKnown[] = {
    {"w", "http://schemas.openxmlformats.org/wordprocessingml/2006/main"},
    {"r", "http://schemas.openxmlformats.org/officeDocument/2006/relationships"},
    {"m", "http://schemas.openxmlformats.org/officeDocument/2006/math"},
    {"wp", "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing"},
    {"a", "http://schemas.openxmlformats.org/drawingml/2006/main"},
    {"pic", "http://schemas.openxmlformats.org/drawingml/2006/picture"},
    {"c", "http://schemas.openxmlformats.org/drawingml/2006/chart"},
    {"dgm", "http://schemas.openxmlformats.org/drawingml/2006/diagram"},
    {"lc", "http://schemas.openxmlformats.org/drawingml/2006/lockedCanvas"},
    {"mc", "http://schemas.openxmlformats.org/markup-compatibility/2006"},
    {"o", "urn:schemas-microsoft-com:office:office"},
    {"v", "urn:schemas-microsoft-com:vml"},
    {"w10", "urn:schemas-microsoft-com:office:word"},
    {"x", "urn:schemas-microsoft-com:office:excel"},
    {"sl", "http://schemas.openxmlformats.org/schemaLibrary/2006/main"},
    {"ds", "http://schemas.openxmlformats.org/officeDocument/2006/customXml"},
    {"cp", "http://schemas.openxmlformats.org/package/2006/metadata/core-properties"},
    {"dc", "http://purl.org/dc/elements/1.1/"},
    {"dcterms", "http://purl.org/dc/terms/"},
    {"dcmitype", "http://purl.org/dc/dcmitype/"},
    {"xsi", "http://www.w3.org/2001/XMLSchema-instance"},
    {"vt", "http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes"},
    {"", "http://schemas.openxmlformats.org/package/2006/relationships"},
    {"", "http://schemas.openxmlformats.org/package/2006/content-types"},
    {"", "http://schemas.openxmlformats.org/officeDocument/2006/extended-properties"},
    {"", "http://schemas.openxmlformats.org/officeDocument/2006/custom-properties"},
    {"w14", "http://schemas.microsoft.com/office/word/2010/wordml"},
    {"w15", "http://schemas.microsoft.com/office/word/2012/wordml"},
    {"w16", "http://schemas.microsoft.com/office/word/2018/wordml"},
    {"w16cex", "http://schemas.microsoft.com/office/word/2018/wordml/cex"},
    {"w16cid", "http://schemas.microsoft.com/office/word/2016/wordml/cid"},
    {"w16du", "http://schemas.microsoft.com/office/word/2023/wordml/word16du"},
    {"w16sdtdh", "http://schemas.microsoft.com/office/word/2020/wordml/sdtdatahash"},
    {"w16sdtfl", "http://schemas.microsoft.com/office/word/2024/wordml/sdtformatlock"},
    {"w16se", "http://schemas.microsoft.com/office/word/2015/wordml/symex"},
    {"wne", "http://schemas.microsoft.com/office/word/2006/wordml"},
    {"wp14", "http://schemas.microsoft.com/office/word/2010/wordprocessingDrawing"},
    {"wpc", "http://schemas.microsoft.com/office/word/2010/wordprocessingCanvas"},
    {"wpg", "http://schemas.microsoft.com/office/word/2010/wordprocessingGroup"},
    {"wpi", "http://schemas.microsoft.com/office/word/2010/wordprocessingInk"},
    {"wps", "http://schemas.microsoft.com/office/word/2010/wordprocessingShape"},
    {"a14", "http://schemas.microsoft.com/office/drawing/2010/main"},
    {"a16", "http://schemas.microsoft.com/office/drawing/2014/main"},
    {"asvg", "http://schemas.microsoft.com/office/drawing/2016/SVG/main"},
    {"c14", "http://schemas.microsoft.com/office/drawing/2007/8/2/chart"},
    {"c16", "http://schemas.microsoft.com/office/drawing/2014/chart"},
    {"c16r2", "http://schemas.microsoft.com/office/drawing/2015/06/chart"},
    {"c15", "http://schemas.microsoft.com/office/drawing/2012/chart"},
    {"cx", "http://schemas.microsoft.com/office/drawing/2014/chartex"},
    {"cx1", "http://schemas.microsoft.com/office/drawing/2015/9/8/chartex"},
    {"cx2", "http://schemas.microsoft.com/office/drawing/2015/10/21/chartex"},
    {"cx3", "http://schemas.microsoft.com/office/drawing/2016/5/9/chartex"},
    {"cx4", "http://schemas.microsoft.com/office/drawing/2016/5/10/chartex"},
    {"cx5", "http://schemas.microsoft.com/office/drawing/2016/5/11/chartex"},
    {"cx6", "http://schemas.microsoft.com/office/drawing/2016/5/12/chartex"},
    {"cx7", "http://schemas.microsoft.com/office/drawing/2016/5/13/chartex"},
    {"cx8", "http://schemas.microsoft.com/office/drawing/2016/5/14/chartex"},
    {"aink", "http://schemas.microsoft.com/office/drawing/2016/ink"},
    {"am3d", "http://schemas.microsoft.com/office/drawing/2017/model3d"},
    {"oel", "http://schemas.microsoft.com/office/2019/extlst"},
};

}  // namespace

const Known* KnownByUri(std::string_view uri) {
    for (const Known& known : kKnown) {
        if (uri == known.uri) return &known;
    }
    return nullptr;
}

const Known* KnownByPrefix(std::string_view prefix) {
    if (prefix.empty()) return nullptr;
    for (const Known& known : kKnown) {
        if (prefix == known.prefix) return &known;
    }
    return nullptr;
}

}  // namespace redline
