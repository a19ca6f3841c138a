#include "TestDocuments.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "automation/Error.h"

namespace fs = std::filesystem;

namespace {

const char* kOriginal =
    "<html><body><p>The quick brown fox jumps over the lazy dog.</p>"
    "<p>Second paragraph stays as it is.</p><p>Third paragraph goes away.</p></body></html>";
const char* kRevised =
    "<html><body><p>The quick red fox jumps over the lazy dog.</p>"
    "<p>Second paragraph stays as it is.</p><p>A new paragraph arrives.</p></body></html>";
const char* kAdditions =
    "<html><body><p>The quick brown fox jumps over the lazy dog again.</p>"
    "<p>Second paragraph stays as it is.</p><p>Third paragraph goes away.</p>"
    "<p>One more paragraph.</p></body></html>";

// A complete 1 x 1 PNG picture.
const unsigned char kPng[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
    0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00,
    0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x44, 0x41, 0x54, 0x78,
    0x9C, 0x63, 0xF8, 0xFF, 0xFF, 0x3F, 0x00, 0x05, 0xFE, 0x02, 0xFE, 0xA7, 0x35, 0x81,
    0x84, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

std::string FailureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const automation::Error& e) {
        return e.description();
    }
    return "(no failure)";
}

TestDocuments::TestDocuments(const std::string& into) : folder(into) {
    const fs::path dir(folder);
    WriteFile(dir / "original.html", kOriginal);
    WriteFile(dir / "revised.html", kRevised);
    WriteFile(dir / "additions.html", kAdditions);
    std::string large = "<html><body>";
    for (int i = 0; i < 4000; ++i) {
        large += "<p>Paragraph " + std::to_string(i) + " of a long report, in ordinary words.</p>";
    }
    WriteFile(dir / "large.html", large + "</body></html>");
    const std::string profile = "file://" + (dir / "converter-profile").string();
    for (const char* format : {"docx:MS Word 2007 XML", "doc:MS Word 97"}) {
        std::vector<std::string> command = {"soffice",
                                            "-env:UserInstallation=" + profile,
                                            "--headless",
                                            "--norestore",
                                            "--convert-to",
                                            format,
                                            "--outdir",
                                            folder,
                                            (dir / "original.html").string(),
                                            (dir / "revised.html").string(),
                                            (dir / "additions.html").string()};
        if (format[1] == 'o' && format[3] == 'x') command.push_back((dir / "large.html").string());
        if (RunProgram(command, {"SAL_USE_VCLPLUGIN=svp"}) != 0) {
            throw std::runtime_error("the office could not make the test documents");
        }
    }
    largeDocx = dir / "large.docx";
    originalDocx = dir / "original.docx";
    revisedDocx = dir / "revised.docx";
    originalDoc = dir / "original.doc";
    revisedDoc = dir / "revised.doc";
    additionsDocx = dir / "additions.docx";

    const fs::path awkward = dir / "a folder with blanks" / "#1 100% sure?";
    fs::create_directories(awkward);
    awkwardlyNamedDocx = awkward / "Übersicht café ñ.docx";
    fs::copy_file(originalDocx, awkwardlyNamedDocx);

    plainTextAsDocx = dir / "notes.docx";
    WriteFile(plainTextAsDocx, "Just a few words of plain text.\n");
    pictureAsDocx = dir / "picture.docx";
    WriteFile(pictureAsDocx, std::string(reinterpret_cast<const char*>(kPng), sizeof kPng));
    const std::string whole = ReadFile(originalDocx);
    damagedDocx = dir / "damaged.docx";
    WriteFile(damagedDocx, whole.substr(0, whole.size() / 2));
    emptyDocx = dir / "empty.docx";
    WriteFile(emptyDocx, "");
    missingDocx = dir / "missing.docx";
    subfolder = dir / "a folder.docx";
    fs::create_directories(subfolder);
}
