// Fuzzes the engine's document reader and writer: any bytes as the main document part of an
// otherwise sound package, compared both ways with a document that has a paragraph, a table and
// a field, and read back in every reading.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "Findings.h"
#include "redline/Compare.h"
#include "redline/io/Package.h"
#include "support/ReadText.h"

namespace {

void Write(const std::string& path, const std::string& document) {
    redline::Package package;
    package.put("[Content_Types].xml",
                "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
                "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>");
    package.put("_rels/.rels",
                "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                "relationships\"><Relationship Id=\"rId1\" Type=\"http://schemas."
                "openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
                "Target=\"word/document.xml\"/></Relationships>");
    package.put("word/document.xml", document);
    package.write(path);
}

const char* kOther =
    "<w:document xmlns:w=\"w\"><w:body><w:p><w:r><w:t>Some words here.</w:t></w:r></w:p>"
    "<w:tbl><w:tr><w:tc><w:p><w:r><w:t>cell</w:t></w:r></w:p></w:tc></w:tr></w:tbl>"
    "<w:p><w:fldSimple w:instr=\"PAGE\"><w:r><w:t>1</w:t></w:r></w:fldSimple></w:p>"
    "<w:sectPr/></w:body></w:document>";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string folder = "/tmp/quorvane-fuzz-" + std::to_string(getpid());
    static const bool made = std::filesystem::create_directories(folder);
    (void)made;
    const std::string fuzzed = folder + "/fuzzed.docx", other = folder + "/other.docx",
                      result = folder + "/result.docx";
    Write(fuzzed, std::string(reinterpret_cast<const char*>(data), size));
    Write(other, kOther);
    for (const auto& [a, b] : {std::pair{fuzzed, other}, std::pair{other, fuzzed}}) {
        try {
            redline::CompareDocuments(a, b, result);
            RefuseNotWellFormed(result);
            for (auto reading : {redline::Reading::AcceptAll, redline::Reading::RejectAll,
                                 redline::Reading::Markup}) {
                redline::ReadText(result, reading);
            }
        } catch (const redline::BadDocument&) {
        }
    }
    return 0;
}
