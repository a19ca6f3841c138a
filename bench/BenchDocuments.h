// Documents for the benchmarks: pairs of a given length, made by the office's own converter.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "redline/io/Package.h"

// The median wall time of `rounds` runs of `work`, in seconds.
inline double MedianSeconds(const std::function<void()>& work, int rounds) {
    std::vector<double> seconds;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        seconds.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

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
// on every other page; with `notes` footnotes spread over the pages and the document cut into
// `sections` sections with a header each, when asked; `changes` words changed in all, spread
// evenly, instead. Made directly, without an office.
inline void MakePagedPair(const std::string& folder, int pages, const std::string& name,
                          int notes = 0, int sections = 0, int changes = 0) {
    static const char* const kWords[] = {
        "the",     "office", "moves", "to",      "a",     "new",  "building", "next",  "spring",
        "and",     "every",  "team",  "will",    "pack",  "its",  "own",      "boxes", "before",
        "Friday",  "so",     "that",  "nothing", "is",    "lost", "on",       "the",   "way",
        "between", "floors", "while", "movers",  "carry", "desks"};
    const std::string head =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:document "
        "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><w:body>";
    std::string a = head, b = head;
    unsigned seed = 7;
    const int paragraphs = pages * 5;
    const int stride = changes > 0 ? std::max(1, paragraphs / changes) : 10;
    int note = 0;
    for (int page = 0; page < pages; ++page) {
        for (int paragraph = 0; paragraph < 5; ++paragraph) {
            const int at = page * 5 + paragraph;
            std::string text = "Page " + std::to_string(page + 1) + ", paragraph " +
                               std::to_string(paragraph + 1) + ":";
            std::string changed = text;
            for (int word = 0; word < 100; ++word) {
                seed = seed * 1103515245u + 12345u;
                const std::string w = kWords[(seed >> 16) % (sizeof kWords / sizeof *kWords)];
                text += " " + w;
                changed +=
                    " " + (at % stride == std::min(2, stride - 1) && word == 50 ? "changed" : w);
            }
            std::string reference;
            if (notes && at * notes / paragraphs != (at + 1) * notes / paragraphs) {
                reference =
                    "<w:r><w:footnoteReference w:id=\"" + std::to_string(++note) + "\"/></w:r>";
            }
            // The last paragraph of each section carries the section's properties.
            std::string section;
            if (sections && (at + 1) * sections / paragraphs != at * sections / paragraphs &&
                at + 1 < paragraphs) {
                section = "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdH" +
                          std::to_string((at + 1) * sections / paragraphs) + "\"/></w:sectPr>";
            }
            const std::string open =
                "<w:p><w:pPr><w:spacing w:after=\"120\"/>" + section + "</w:pPr><w:r><w:t>";
            a += open + text + ".</w:t></w:r>" + reference + "</w:p>";
            b += open + changed + ".</w:t></w:r>" + reference + "</w:p>";
        }
    }
    const std::string tail =
        sections ? "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdH" +
                       std::to_string(sections) + "\"/></w:sectPr></w:body></w:document>"
                 : std::string("<w:sectPr/></w:body></w:document>");
    // Notes and headers: the same on both sides but for one word in every fourth of each.
    auto extras = [&](bool revised, redline::Package& package, std::string& rels) {
        const char* ns = "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";
        if (notes) {
            std::string xml = std::string("<w:footnotes ") + ns + ">";
            for (int n = 1; n <= notes; ++n) {
                xml += "<w:footnote w:id=\"" + std::to_string(n) + "\"><w:p><w:r><w:t>Source " +
                       std::to_string(n) + ", " + (revised && n % 4 == 0 ? "revised" : "first") +
                       " edition, page " + std::to_string(n * 3) +
                       ".</w:t></w:r></w:p></w:footnote>";
            }
            package.put("word/footnotes.xml", xml + "</w:footnotes>");
            rels +=
                "<Relationship Id=\"rIdNotes\" Type=\"http://schemas.openxmlformats.org/"
                "officeDocument/2006/relationships/footnotes\" Target=\"footnotes.xml\"/>";
        }
        for (int s = 1; s <= sections; ++s) {
            package.put("word/header" + std::to_string(s) + ".xml",
                        std::string("<w:hdr ") + ns + "><w:p><w:r><w:t>Chapter " +
                            std::to_string(s) +
                            (revised && s % 4 == 0 ? ", revised" : ", as written") +
                            "</w:t></w:r></w:p></w:hdr>");
            rels += "<Relationship Id=\"rIdH" + std::to_string(s) +
                    "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                    "relationships/header\" Target=\"header" +
                    std::to_string(s) + ".xml\"/>";
        }
    };
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
        std::string rels =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
            "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
        extras(std::string(side) == "b", package, rels);
        package.put("word/_rels/document.xml.rels", rels + "</Relationships>");
        package.write(folder + "/" + name + "-" + side + ".docx");
    }
}
