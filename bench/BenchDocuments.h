// Documents for the benchmarks: pairs of a given length, made by the office's own converter.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "redline/Package.h"

// Writes NAME-a.html and NAME-b.html into `folder`: `paragraphs` of ordinary prose, every
// twenty-fifth one revised in b.
inline void MakeDocuments(const std::string& folder, int paragraphs, const std::string& name) {
    std::ofstream a(folder + "/" + name + "-a.html"), b(folder + "/" + name + "-b.html");
    a << "<html><body>";
    b << "<html><body>";
    for (int i = 0; i < paragraphs; ++i) {
        const std::string text = "Paragraph " + std::to_string(i) +
                                 " holds a sentence of ordinary words that fills most of a line.";
        a << "<p>" << text << "</p>";
        b << "<p>" << (i % 25 == 0 ? text + " Revised here." : text) << "</p>";
    }
    a << "</body></html>";
    b << "</body></html>";
}

// Turns every .html file in `folder` into a .docx beside it; answers whether it worked.
inline bool ConvertToDocx(const std::string& folder) {
    const std::string convert =
        "soffice -env:UserInstallation=file://" + folder +
        "/converter --headless --convert-to 'docx:MS Word 2007 XML' --outdir " + folder + " " +
        folder + "/*.html >/dev/null 2>&1";
    return std::system(convert.c_str()) == 0;
}

// Writes NAME-a.docx and NAME-b.docx into `folder`: `pages` pages of ordinary prose (five
// paragraphs of about a hundred words each, some 500 words a page), with one word changed in b
// on every other page. Made directly, so that no office is needed to make them.
inline void MakePagedPair(const std::string& folder, int pages, const std::string& name) {
    static const char* const kWords[] = {
        "the",     "office", "moves", "to",      "a",     "new",  "building", "next",  "spring",
        "and",     "every",  "team",  "will",    "pack",  "its",  "own",      "boxes", "before",
        "Friday",  "so",     "that",  "nothing", "is",    "lost", "on",       "the",   "way",
        "between", "floors", "while", "movers",  "carry", "desks"};
    const std::string head =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:document "
        "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>";
    std::string a = head, b = head;
    unsigned seed = 7;
    for (int page = 0; page < pages; ++page) {
        for (int paragraph = 0; paragraph < 5; ++paragraph) {
            std::string text = "Page " + std::to_string(page + 1) + ", paragraph " +
                               std::to_string(paragraph + 1) + ":";
            std::string changed = text;
            for (int word = 0; word < 100; ++word) {
                seed = seed * 1103515245u + 12345u;
                const std::string w = kWords[(seed >> 16) % (sizeof kWords / sizeof *kWords)];
                text += " " + w;
                changed += " " + (page % 2 == 0 && paragraph == 2 && word == 50 ? "changed" : w);
            }
            const std::string run = "<w:p><w:pPr><w:spacing w:after=\"120\"/></w:pPr><w:r><w:t>";
            a += run + text + ".</w:t></w:r></w:p>";
            b += run + changed + ".</w:t></w:r></w:p>";
        }
    }
    const std::string tail = "<w:sectPr/></w:body></w:document>";
    for (const auto& [side, body] : {std::pair{"a", a + tail}, std::pair{"b", b + tail}}) {
        redline::Package package;
        package.put("[Content_Types].xml",
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types "
                    "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                    "<Default Extension=\"rels\" "
                    "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                    "<Default Extension=\"xml\" ContentType=\"application/xml\"/><Override "
                    "PartName=\"/word/document.xml\" ContentType=\"application/"
                    "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
                    "</Types>");
        package.put("_rels/.rels",
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
                    "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/"
                    "officeDocument/2006/relationships/officeDocument\" "
                    "Target=\"word/document.xml\"/></Relationships>");
        package.put("word/document.xml", body);
        package.write(folder + "/" + name + "-" + side + ".docx");
    }
}
