// Documents as Word writes them: its root's declarations, its paragraphs' ids, and the symbols
// and form controls it shows through Markup Compatibility.
#include <pugixml.hpp>
#include <sstream>

#include "support/Docx.h"
#include "support/Zip.h"

void SetCoreProperties(const std::string& path, const std::string& properties) {
    ZipEntries entries = ReadZip(path);
    PutEntry(entries, "docProps/core.xml",
             "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/"
             "metadata/core-properties\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">" +
                 properties + "</cp:coreProperties>");
    std::string rels = *FindEntry(entries, "_rels/.rels");
    rels.insert(rels.find("</Relationships>"),
                "<Relationship Id=\"rIdCore\" Type=\"http://schemas.openxmlformats.org/package/"
                "2006/relationships/metadata/core-properties\" Target=\"docProps/core.xml\"/>");
    PutEntry(entries, "_rels/.rels", rels);
    WriteZip(path, entries);
}

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
