#include "support/Docx.h"

#include <cctype>
#include <cstring>
#include <pugixml.hpp>
#include <sstream>

#include "support/Zip.h"

namespace {

const char* kNamespaces =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\" "
    "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
    "xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\" "
    "xmlns:v=\"urn:schemas-microsoft-com:vml\" "
    "xmlns:m=\"http://schemas.openxmlformats.org/officeDocument/2006/math\" "
    "xmlns:w14=\"http://schemas.microsoft.com/office/word/2010/wordml\" mc:Ignorable=\"wps w14\"";

const char* kWordMain = "application/vnd.openxmlformats-officedocument.wordprocessingml.";

// A part whose root element `root` holds `content`, with the namespaces a story needs.
std::string StoryPart(const std::string& root, const std::string& content) {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><") + root +
           " " + kNamespaces + ">" + content + "</" + root + ">";
}

const char* kStyles =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
    "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
    "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name "
    "w:val=\"Normal\"/></w:style>"
    "<w:style w:type=\"paragraph\" w:styleId=\"Heading1\"><w:name w:val=\"heading 1\"/>"
    "<w:basedOn w:val=\"Normal\"/><w:rPr><w:b/><w:sz w:val=\"32\"/></w:rPr></w:style>"
    "<w:style w:type=\"table\" w:styleId=\"TableGrid\"><w:name w:val=\"Table Grid\"/>"
    "<w:tblPr><w:tblBorders><w:top w:val=\"single\" w:sz=\"4\"/><w:bottom w:val=\"single\" "
    "w:sz=\"4\"/>"
    "<w:insideH w:val=\"single\" w:sz=\"4\"/><w:insideV w:val=\"single\" "
    "w:sz=\"4\"/></w:tblBorders></w:tblPr>"
    "</w:style></w:styles>";

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '<') {
            out += "&lt;";
        } else if (c == '&') {
            out += "&amp;";
        } else if (c == '>') {
            out += "&gt;";
        } else {
            out += c;
        }
    }
    return out;
}

std::string Overrides(const DocxParts& extra) {
    std::string overrides;
    for (const auto& [name, type] : extra.contentTypes) {
        overrides += "<Override PartName=\"/" + name + "\" ContentType=\"" + type + "\"/>";
    }
    return overrides;
}

}  // namespace

void WriteDocx(const std::string& path, const std::string& body, const DocxParts& extra) {
    ZipEntries package;
    PutEntry(package, "[Content_Types].xml",
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
             "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
             "<Default Extension=\"rels\" "
             "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
             "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
             "<Default Extension=\"png\" ContentType=\"image/png\"/>"
             "<Override PartName=\"/word/document.xml\" "
             "ContentType=\"application/"
             "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
             "<Override PartName=\"/word/styles.xml\" "
             "ContentType=\"application/"
             "vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>" +
                 Overrides(extra) + "</Types>");
    PutEntry(
        package, "_rels/.rels",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "officeDocument\" Target=\"word/document.xml\"/>"
        "</Relationships>");
    std::string rels =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rIdStyles\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
        "Target=\"styles.xml\"/>";
    for (const auto& [id, relationship] : extra.relationships) {
        const bool fullType = relationship.first.starts_with("http");
        rels +=
            "<Relationship Id=\"" + id + "\" Type=\"" +
            (fullType ? ""
                      : "http://schemas.openxmlformats.org/officeDocument/2006/relationships/") +
            relationship.first + "\" Target=\"" + relationship.second + "\"" +
            (relationship.second.starts_with("http") ? " TargetMode=\"External\"" : "") + "/>";
    }
    PutEntry(package, "word/_rels/document.xml.rels", rels + "</Relationships>");
    PutEntry(package, "word/styles.xml", kStyles);
    PutEntry(
        package, "word/document.xml",
        std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:document ") +
            kNamespaces + "><w:body>" + body + "<w:sectPr>" + extra.section +
            (extra.page.empty() ? "<w:pgSz w:w=\"11906\" w:h=\"16838\"/>" : extra.page) +
            "</w:sectPr></w:body></w:document>");
    for (const auto& [name, bytes] : extra.parts) PutEntry(package, name, bytes);
    WriteZip(path, package);
}

DocxParts operator+(DocxParts a, const DocxParts& b) {
    a.parts.insert(b.parts.begin(), b.parts.end());
    a.relationships.insert(b.relationships.begin(), b.relationships.end());
    a.contentTypes.insert(b.contentTypes.begin(), b.contentTypes.end());
    a.section += b.section;
    if (!b.page.empty()) a.page = b.page;
    return a;
}

namespace {

// `properties`' child `name`, made where the schema's order wants it when missing: before the
// first of `later` it holds, else last.
pugi::xml_node PropertyChild(pugi::xml_node properties, const char* name,
                             std::initializer_list<const char*> later) {
    if (pugi::xml_node found = properties.child(name)) return found;
    for (pugi::xml_node child : properties.children()) {
        for (const char* next : later) {
            if (std::strcmp(child.name(), next) == 0)
                return properties.insert_child_before(name, child);
        }
    }
    return properties.append_child(name);
}

pugi::xml_node OwnProperties(pugi::xml_node owner, const char* name, const char* after = nullptr) {
    if (pugi::xml_node found = owner.child(name)) return found;
    if (after && owner.child(after)) return owner.insert_child_after(name, owner.child(after));
    return owner.prepend_child(name);
}

void Set(pugi::xml_node element, const char* attribute, const char* value) {
    (element.attribute(attribute) ? element.attribute(attribute)
                                  : element.append_attribute(attribute))
        .set_value(value);
}

}  // namespace

std::string ChangeOneProperty(const std::string& in, const std::string& out, PropertyEdit edit) {
    ZipEntries package = ReadZip(in);
    pugi::xml_document document;
    if (!document.load_string(FindEntry(package, "word/document.xml")->c_str(),
                              pugi::parse_default | pugi::parse_ws_pcdata_single)) {
        return {};
    }
    const pugi::xml_node body = document.child("w:document").child("w:body");
    const pugi::xml_node table = body.select_node(".//w:tbl").node();
    const pugi::xml_node row = table.child("w:tr"), cell = row.child("w:tc");
    std::string what;
    switch (edit) {
        case PropertyEdit::CellShading:
            if (!cell) return {};
            Set(PropertyChild(OwnProperties(cell, "w:tcPr"), "w:shd",
                              {"w:noWrap", "w:tcMar", "w:textDirection", "w:tcFitText", "w:vAlign",
                               "w:hideMark", "w:headers", "w:cellIns", "w:cellDel", "w:cellMerge",
                               "w:tcPrChange"}),
                "w:fill", "FFD966");
            Set(cell.child("w:tcPr").child("w:shd"), "w:val", "clear");
            what = "cell shading";
            break;
        case PropertyEdit::CellAlignment: {
            if (!cell) return {};
            pugi::xml_node align = PropertyChild(OwnProperties(cell, "w:tcPr"), "w:vAlign",
                                                 {"w:hideMark", "w:headers", "w:cellIns",
                                                  "w:cellDel", "w:cellMerge", "w:tcPrChange"});
            Set(align, "w:val",
                std::string(align.attribute("w:val").value()) == "bottom" ? "top" : "bottom");
            what = "cell vertical alignment";
            break;
        }
        case PropertyEdit::TableWidth:
            if (!table) return {};
            {
                pugi::xml_node width =
                    PropertyChild(OwnProperties(table, "w:tblPr"), "w:tblW",
                                  {"w:jc", "w:tblCellSpacing", "w:tblInd", "w:tblBorders", "w:shd",
                                   "w:tblLayout", "w:tblCellMar", "w:tblLook", "w:tblCaption",
                                   "w:tblDescription", "w:tblPrChange"});
                const bool half = std::string(width.attribute("w:w").value()) == "2500";
                Set(width, "w:w", half ? "4000" : "2500");
                Set(width, "w:type", "pct");
            }
            what = "table width";
            break;
        case PropertyEdit::RowHeight:
            if (!row) return {};
            Set(PropertyChild(OwnProperties(row, "w:trPr", "w:tblPrEx"), "w:trHeight",
                              {"w:ins", "w:del", "w:trPrChange"}),
                "w:val", "1234");
            what = "row height";
            break;
        case PropertyEdit::Landscape: {
            pugi::xml_node size = body.child("w:sectPr").child("w:pgSz");
            if (!size || std::string(size.attribute("w:orient").value()) == "landscape") return {};
            const std::string w = size.attribute("w:w").value(), h = size.attribute("w:h").value();
            Set(size, "w:w", h.c_str());
            Set(size, "w:h", w.c_str());
            Set(size, "w:orient", "landscape");
            what = "landscape";
            break;
        }
    }
    std::ostringstream xml;
    document.save(xml, "", pugi::format_raw);
    PutEntry(package, "word/document.xml", xml.str());
    WriteZip(out, package);
    return what;
}

std::string ChangeOneWord(const std::string& in, const std::string& out,
                          const std::string& replacement) {
    ZipEntries package = ReadZip(in);
    pugi::xml_document document;
    if (!document.load_string(FindEntry(package, "word/document.xml")->c_str(),
                              pugi::parse_default | pugi::parse_ws_pcdata_single)) {
        return {};
    }
    for (const pugi::xpath_node& found : document.select_nodes("//w:body//w:t")) {
        const std::string text = found.node().text().get();
        for (std::size_t at = 0; at < text.size();) {
            std::size_t end = at;
            while (end < text.size() && std::isalpha(static_cast<unsigned char>(text[end]))) ++end;
            const bool whole =
                (at == 0 || !std::isalnum(static_cast<unsigned char>(text[at - 1]))) &&
                (end == text.size() || static_cast<unsigned char>(text[end]) < 0x80);
            if (end - at >= 4 && whole) {
                found.node().text().set(
                    (text.substr(0, at) + replacement + text.substr(end)).c_str());
                std::ostringstream xml;
                document.save(xml, "", pugi::format_raw);
                PutEntry(package, "word/document.xml", xml.str());
                WriteZip(out, package);
                return text.substr(at, end - at);
            }
            at = end + 1;
        }
    }
    return {};
}

namespace docx {

namespace {

DocxParts HeaderOrFooter(const std::string& blocks, const std::string& kind, bool header) {
    const std::string word = header ? "header" : "footer";
    const std::string name = word + "-" + kind + ".xml", id = "rId" + word + kind;
    DocxParts parts;
    parts.parts["word/" + name] = StoryPart(header ? "w:hdr" : "w:ftr", blocks);
    parts.relationships[id] = {word, name};
    parts.contentTypes["word/" + name] = std::string(kWordMain) + word + "+xml";
    parts.section = "<w:" + word + "Reference w:type=\"" + kind + "\" r:id=\"" + id + "\"/>";
    return parts;
}

}  // namespace

std::string R(const std::string& text, const std::string& properties) {
    return "<w:r>" + (properties.empty() ? "" : "<w:rPr>" + properties + "</w:rPr>") +
           "<w:t xml:space=\"preserve\">" + Escaped(text) + "</w:t></w:r>";
}

std::string P(const std::string& content, const std::string& properties) {
    return "<w:p>" + (properties.empty() ? "" : "<w:pPr>" + properties + "</w:pPr>") + content +
           "</w:p>";
}

std::string Text(const std::string& text) {
    return P(R(text));
}

std::string Table(const std::vector<std::vector<std::string>>& rows) {
    std::string xml = "<w:tbl><w:tblPr><w:tblStyle w:val=\"TableGrid\"/></w:tblPr><w:tblGrid>";
    for (std::size_t i = 0; i < (rows.empty() ? 0 : rows[0].size()); ++i)
        xml += "<w:gridCol w:w=\"2000\"/>";
    xml += "</w:tblGrid>";
    for (const auto& row : rows) {
        xml += "<w:tr>";
        for (const auto& cell : row)
            xml += "<w:tc><w:tcPr><w:tcW w:w=\"2000\" w:type=\"dxa\"/></w:tcPr>" + Text(cell) +
                   "</w:tc>";
        xml += "</w:tr>";
    }
    return xml + "</w:tbl>";
}

const std::string kChartSpace =
    "xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\"";

std::string Chart(const std::string& first, const std::string& second, const std::string& value) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><c:chartSpace " +
           kChartSpace +
           "><c:chart><c:plotArea><c:barChart><c:barDir val=\"col\"/><c:ser><c:idx val=\"0\"/>"
           "<c:val><c:numRef><c:numCache><c:ptCount val=\"1\"/><c:pt idx=\"0\"><c:v>" +
           value + "</c:v></c:pt></c:numCache></c:numRef></c:val></c:ser><c:axId val=\"" + first +
           "\"/><c:axId val=\"" + second + "\"/></c:barChart><c:catAx><c:axId val=\"" + first +
           "\"/><c:crossAx val=\"" + second + "\"/></c:catAx><c:valAx><c:axId val=\"" + second +
           "\"/><c:crossAx val=\"" + first + "\"/></c:valAx></c:plotArea></c:chart></c:chartSpace>";
}

std::string ChartDrawing() {
    return "<w:r><w:drawing><wp:inline><wp:extent cx=\"5486400\" cy=\"3200400\"/>"
           "<wp:docPr id=\"3\" name=\"Chart 1\"/><a:graphic><a:graphicData "
           "uri=\"http://schemas.openxmlformats.org/drawingml/2006/chart\"><c:chart " +
           kChartSpace +
           " r:id=\"rIdChart\"/></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
}

std::string EmbeddedObject() {
    return "<w:r><w:object xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
           "w:dxaOrig=\"1440\" w:dyaOrig=\"720\"><v:shape id=\"_x0000_i1025\" "
           "style=\"width:72pt;height:36pt\"><v:imagedata r:id=\"rIdPic0\"/></v:shape>"
           "<o:OLEObject Type=\"Embed\" ProgID=\"Excel.Sheet.12\" ShapeID=\"_x0000_i1025\" "
           "DrawAspect=\"Content\" ObjectID=\"_1\" r:id=\"rIdSheet\"/></w:object></w:r>";
}

std::string Png(unsigned char shade) {
    const unsigned char bytes[] = {
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A,  0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49,
        0x48, 0x44, 0x52, 0x00, 0x00, 0x00,  0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x00,
        0x00, 0x00, 0x00, 0x3A, 0x7E, 0x9B,  0x55, 0x00, 0x00, 0x00, 0x0A, 0x49, 0x44,
        0x41, 0x54, 0x78, 0x9C, 0x63, shade, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00,
        0x00, 0x00, 0x00, 0x49, 0x45, 0x4E,  0x44, 0xAE, 0x42, 0x60, 0x82};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

std::string Picture(const std::string& id, int size) {
    const std::string extent =
        "cx=\"" + std::to_string(size) + "\" cy=\"" + std::to_string(size) + "\"";
    return "<w:r><w:drawing><wp:inline><wp:extent " + extent +
           "/><wp:docPr id=\"1\" "
           "name=\"Picture\"/>"
           "<a:graphic><a:graphicData "
           "uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
           "<pic:pic><pic:nvPicPr><pic:cNvPr id=\"0\" name=\"p.png\"/><pic:cNvPicPr/></pic:nvPicPr>"
           "<pic:blipFill><a:blip r:embed=\"" +
           id +
           "\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill>"
           "<pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext " +
           extent +
           "/></a:xfrm>"
           "<a:prstGeom "
           "prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr></pic:pic></a:graphicData></a:graphic>"
           "</wp:inline></w:drawing></w:r>";
}

std::string Field(const std::string& instruction, const std::string& result) {
    return "<w:fldSimple w:instr=\"" + instruction + "\">" + R(result) + "</w:fldSimple>";
}

}  // namespace docx

namespace docx {

DocxParts Numbering() {
    auto level = [](int level, const char* format, const char* text) {
        return "<w:lvl w:ilvl=\"" + std::to_string(level) +
               "\"><w:start w:val=\"1\"/><w:numFmt w:val=\"" + format + "\"/><w:lvlText w:val=\"" +
               text + "\"/><w:lvlJc w:val=\"left\"/><w:pPr><w:ind w:left=\"" +
               std::to_string(720 * (level + 1)) + "\" w:hanging=\"360\"/></w:pPr></w:lvl>";
    };
    DocxParts parts;
    parts.parts["word/numbering.xml"] =
        std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:numbering ") +
        kNamespaces + "><w:abstractNum w:abstractNumId=\"0\">" + level(0, "bullet", "\u2022") +
        level(1, "bullet", "o") + "</w:abstractNum><w:abstractNum w:abstractNumId=\"1\">" +
        level(0, "decimal", "%1.") + level(1, "lowerLetter", "%2)") +
        "</w:abstractNum><w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>"
        "<w:num w:numId=\"2\"><w:abstractNumId w:val=\"1\"/></w:num></w:numbering>";
    parts.relationships["rIdNumbering"] = {"numbering", "numbering.xml"};
    parts.contentTypes["word/numbering.xml"] = std::string(kWordMain) + "numbering+xml";
    return parts;
}

DocxParts Header(const std::string& blocks, const std::string& kind) {
    return HeaderOrFooter(blocks, kind, true);
}

DocxParts Footer(const std::string& blocks, const std::string& kind) {
    return HeaderOrFooter(blocks, kind, false);
}

DocxParts Notes(const std::map<int, std::string>& notes, bool endnotes) {
    const std::string kind = endnotes ? "endnote" : "footnote";
    std::string content = "<w:" + kind +
                          " w:type=\"separator\" w:id=\"-1\"><w:p><w:r><w:separator/>"
                          "</w:r></w:p></w:" +
                          kind + "><w:" + kind +
                          " w:type=\"continuationSeparator\" "
                          "w:id=\"0\"><w:p><w:r><w:continuationSeparator/></w:r></w:p></w:" +
                          kind + ">";
    for (const auto& [id, blocks] : notes) {
        content +=
            "<w:" + kind + " w:id=\"" + std::to_string(id) + "\">" + blocks + "</w:" + kind + ">";
    }
    DocxParts parts;
    parts.parts["word/" + kind + "s.xml"] = StoryPart("w:" + kind + "s", content);
    parts.relationships["rId" + kind + "s"] = {kind + "s", kind + "s.xml"};
    parts.contentTypes["word/" + kind + "s.xml"] = std::string(kWordMain) + kind + "s+xml";
    return parts;
}

std::string NoteReference(int id, bool endnote) {
    return std::string("<w:r><w:rPr><w:vertAlign w:val=\"superscript\"/></w:rPr><w:") +
           (endnote ? "endnote" : "footnote") + "Reference w:id=\"" + std::to_string(id) +
           "\"/></w:r>";
}

std::string TextBox(const std::string& blocks) {
    return "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\"><w:drawing><wp:anchor "
           "distT=\"0\" "
           "distB=\"0\" distL=\"0\" distR=\"0\" simplePos=\"0\" relativeHeight=\"2\" "
           "behindDoc=\"0\" "
           "locked=\"0\" layoutInCell=\"1\" allowOverlap=\"1\"><wp:simplePos x=\"0\" y=\"0\"/>"
           "<wp:positionH relativeFrom=\"column\"><wp:posOffset>0</wp:posOffset></wp:positionH>"
           "<wp:positionV relativeFrom=\"paragraph\"><wp:posOffset>0</wp:posOffset></wp:positionV>"
           "<wp:extent cx=\"2000000\" cy=\"500000\"/><wp:wrapSquare wrapText=\"bothSides\"/>"
           "<wp:docPr id=\"5\" name=\"Text Box 5\"/><a:graphic><a:graphicData "
           "uri=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\"><wps:wsp>"
           "<wps:cNvSpPr txBox=\"1\"/><wps:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext "
           "cx=\"2000000\" "
           "cy=\"500000\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></wps:spPr>"
           "<wps:txbx><w:txbxContent>" +
           blocks +
           "</w:txbxContent></wps:txbx><wps:bodyPr/></wps:wsp>"
           "</a:graphicData></a:graphic></wp:anchor></w:drawing></mc:Choice><mc:Fallback><w:pict>"
           "<v:rect style=\"width:157pt;height:39pt\"><v:textbox><w:txbxContent>" +
           blocks +
           "</w:txbxContent></v:textbox></v:rect></w:pict></mc:Fallback></mc:AlternateContent></"
           "w:r>";
}

DocxParts Comments(const std::map<int, std::string>& comments) {
    std::string content;
    for (const auto& [id, text] : comments) {
        content += "<w:comment w:id=\"" + std::to_string(id) + "\" w:author=\"Reader\">" +
                   Text(text) + "</w:comment>";
    }
    return CommentsPart(content);
}

DocxParts CommentsPart(const std::string& content) {
    DocxParts parts;
    parts.parts["word/comments.xml"] = StoryPart("w:comments", content);
    parts.relationships["rIdComments"] = {"comments", "comments.xml"};
    parts.contentTypes["word/comments.xml"] = std::string(kWordMain) + "comments+xml";
    return parts;
}

std::string Commented(int id, const std::string& text) {
    const std::string n = std::to_string(id);
    return "<w:commentRangeStart w:id=\"" + n + "\"/>" + R(text) + "<w:commentRangeEnd w:id=\"" +
           n + "\"/><w:r><w:commentReference w:id=\"" + n + "\"/></w:r>";
}

}  // namespace docx

void UseWordsDeclarations(const std::string& path) {
    static const char* kWordsRoot =
        "<w:document "
        "xmlns:wpc=\"http://schemas.microsoft.com/office/word/2010/wordprocessingCanvas\" "
        "xmlns:cx=\"http://schemas.microsoft.com/office/drawing/2014/chartex\" "
        "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
        "xmlns:aink=\"http://schemas.microsoft.com/office/drawing/2016/ink\" "
        "xmlns:am3d=\"http://schemas.microsoft.com/office/drawing/2017/model3d\" "
        "xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
        "xmlns:oel=\"http://schemas.microsoft.com/office/2019/extlst\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
        "xmlns:m=\"http://schemas.openxmlformats.org/officeDocument/2006/math\" "
        "xmlns:v=\"urn:schemas-microsoft-com:vml\" "
        "xmlns:wp14=\"http://schemas.microsoft.com/office/word/2010/wordprocessingDrawing\" "
        "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
        "xmlns:w10=\"urn:schemas-microsoft-com:office:word\" "
        "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
        "xmlns:w14=\"http://schemas.microsoft.com/office/word/2010/wordml\" "
        "xmlns:w15=\"http://schemas.microsoft.com/office/word/2012/wordml\" "
        "xmlns:w16cex=\"http://schemas.microsoft.com/office/word/2018/wordml/cex\" "
        "xmlns:w16cid=\"http://schemas.microsoft.com/office/word/2016/wordml/cid\" "
        "xmlns:w16=\"http://schemas.microsoft.com/office/word/2018/wordml\" "
        "xmlns:w16sdtdh=\"http://schemas.microsoft.com/office/word/2020/wordml/sdtdatahash\" "
        "xmlns:w16se=\"http://schemas.microsoft.com/office/word/2015/wordml/symex\" "
        "xmlns:wpg=\"http://schemas.microsoft.com/office/word/2010/wordprocessingGroup\" "
        "xmlns:wpi=\"http://schemas.microsoft.com/office/word/2010/wordprocessingInk\" "
        "xmlns:wne=\"http://schemas.microsoft.com/office/word/2006/wordml\" "
        "xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\" "
        "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
        "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\" "
        "mc:Ignorable=\"w14 w15 w16se w16cid w16 w16cex w16sdtdh wp14\">";
    ZipEntries entries = ReadZip(path);
    for (auto& [name, bytes] : entries) {
        if (name != "word/document.xml") continue;
        const std::size_t start = bytes.find("<w:document"), end = bytes.find('>', start);
        bytes = bytes.substr(0, start) + kWordsRoot + bytes.substr(end + 1);
    }
    WriteZip(path, entries);
}

namespace docx {

std::string WordParagraph(const std::string& id, const std::string& content,
                          const std::string& properties) {
    return "<w:p w:rsidR=\"00A1B2C3\" w:rsidRDefault=\"00A1B2C3\" w14:paraId=\"" + id +
           "\" w14:textId=\"77777777\">" +
           (properties.empty() ? "" : "<w:pPr>" + properties + "</w:pPr>") + content + "</w:p>";
}

std::string Symbol(const std::string& fallback) {
    return "<w:r><mc:AlternateContent><mc:Choice Requires=\"w16se\"><w:rPr><w:rFonts "
           "w:ascii=\"Segoe UI Emoji\" w:hAnsi=\"Segoe UI Emoji\"/></w:rPr><w16se:symEx "
           "w16se:font=\"Segoe UI Emoji\" w16se:char=\"1F600\"/></mc:Choice><mc:Fallback><w:t>" +
           fallback + "</w:t></mc:Fallback></mc:AlternateContent></w:r>";
}

std::string CheckBox() {
    return "<w:sdt><w:sdtPr><w:id w:val=\"-1\"/><w14:checkbox><w14:checked w14:val=\"0\"/>"
           "<w14:checkedState w14:val=\"2612\" w14:font=\"MS Gothic\"/><w14:uncheckedState "
           "w14:val=\"2610\" w14:font=\"MS Gothic\"/></w14:checkbox></w:sdtPr><w:sdtContent>"
           "<w:r><w:t>\u2610</w:t></w:r></w:sdtContent></w:sdt>";
}

std::string DropDown(const std::string& shown) {
    return "<w:sdt><w:sdtPr><w:alias w:val=\"Fruit\"/><w:tag w:val=\"fruit\"/><w:id "
           "w:val=\"1234\"/><w:dropDownList><w:listItem w:displayText=\"Apples\" w:value=\"1\"/>"
           "<w:listItem w:displayText=\"Pears\" w:value=\"2\"/></w:dropDownList></w:sdtPr>"
           "<w:sdtContent><w:r><w:t>" +
           shown + "</w:t></w:r></w:sdtContent></w:sdt>";
}

}  // namespace docx
