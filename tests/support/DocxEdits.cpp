// Edits of a written .docx: one property, or one word, changed in its main part.
#include <cstring>
#include <pugixml.hpp>
#include <sstream>

#include "support/Docx.h"
#include "support/Zip.h"

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
