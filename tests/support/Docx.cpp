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

DocxParts CommentsPart(const std::string& content, const std::string& threads) {
    DocxParts parts;
    parts.parts["word/comments.xml"] = StoryPart("w:comments", content);
    parts.relationships["rIdComments"] = {"comments", "comments.xml"};
    parts.contentTypes["word/comments.xml"] = std::string(kWordMain) + "comments+xml";
    if (threads.empty()) return parts;
    parts.parts["word/commentsExtended.xml"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w15:commentsEx "
        "xmlns:w15=\"http://schemas.microsoft.com/office/word/2012/wordml\" "
        "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
        "mc:Ignorable=\"w15\">" +
        threads + "</w15:commentsEx>";
    parts.relationships["rIdThreads"] = {
        "http://schemas.microsoft.com/office/2011/relationships/commentsExtended",
        "commentsExtended.xml"};
    parts.contentTypes["word/commentsExtended.xml"] =
        std::string(kWordMain) + "commentsExtended+xml";
    return parts;
}

std::string Commented(int id, const std::string& text) {
    const std::string n = std::to_string(id);
    return "<w:commentRangeStart w:id=\"" + n + "\"/>" + R(text) + "<w:commentRangeEnd w:id=\"" +
           n + "\"/><w:r><w:commentReference w:id=\"" + n + "\"/></w:r>";
}

}  // namespace docx
