// The shapes of document pairs the shape benchmark measures, each made at any size, and the
// writing of a pair's package.
#pragma once

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "redline/io/Package.h"

namespace shapes {

inline const char* kWords[] = {
    "the",   "office",  "moves", "to",   "a",   "new", "building", "next",   "spring", "and",
    "every", "team",    "will",  "pack", "its", "own", "boxes",    "before", "Friday", "so",
    "that",  "nothing", "is",    "lost", "on",  "way", "between",  "floors"};

inline std::string Sentence(std::mt19937& random, int words) {
    std::string text;
    for (int w = 0; w < words; ++w) {
        if (w) text += ' ';
        text += kWords[random() % (sizeof kWords / sizeof *kWords)];
    }
    return text + ".";
}

inline std::string Paragraph(const std::string& text) {
    return "<w:p><w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r></w:p>";
}

// Replaces the word at `index` (counting from 0) of a sentence.
inline std::string ChangeWord(const std::string& text, int index, const std::string& by) {
    std::size_t begin = 0;
    for (int i = 0; i < index; ++i) begin = text.find(' ', begin) + 1;
    const std::size_t end = text.find_first_of(" .", begin);
    return text.substr(0, begin) + by + text.substr(end);
}

// Writes a package of the body and, when given, a comments part's content.
inline void Write(const std::string& path, const std::string& body,
                  const std::string& comments = "") {
    redline::Package package;
    const std::string commentsType =
        comments.empty() ? ""
                         : "<Override PartName=\"/word/comments.xml\" ContentType=\"application/"
                           "vnd.openxmlformats-officedocument.wordprocessingml.comments+xml\"/>";
    package.put("[Content_Types].xml",
                "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
                "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>" +
                    commentsType + "</Types>");
    if (!comments.empty()) {
        package.put("word/_rels/document.xml.rels",
                    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                    "relationships\"><Relationship Id=\"rId9\" Type=\"http://schemas."
                    "openxmlformats.org/officeDocument/2006/relationships/comments\" "
                    "Target=\"comments.xml\"/></Relationships>");
        package.put("word/comments.xml",
                    "<w:comments xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/"
                    "2006/main\">" +
                        comments + "</w:comments>");
    }
    package.put("_rels/.rels",
                "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                "relationships\"><Relationship Id=\"rId1\" Type=\"http://schemas."
                "openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
                "Target=\"word/document.xml\"/></Relationships>");
    package.put("word/document.xml",
                "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/"
                "main\"><w:body>" +
                    body + "<w:sectPr/></w:body></w:document>");
    package.write(path);
}

struct Shape {
    const char* name;
    // Writes the pair's two bodies for `n` paragraphs (or words, for the one-paragraph shape).
    std::function<void(int n, std::string& a, std::string& b)> make;
    // For a shape with comments: then writes the two comments parts' content too.
    std::function<void(int n, std::string& a, std::string& b)> comments = nullptr;
};

// A paragraph of `text` with comment `id` on all of it.
inline std::string Commented(int id, const std::string& text) {
    const std::string n = std::to_string(id);
    return "<w:p><w:commentRangeStart w:id=\"" + n + "\"/><w:r><w:t xml:space=\"preserve\">" +
           text + "</w:t></w:r><w:commentRangeEnd w:id=\"" + n +
           "\"/><w:r><w:commentReference w:id=\"" + n + "\"/></w:r></w:p>";
}

inline std::string Comment(int id, const std::string& text) {
    return "<w:comment w:id=\"" + std::to_string(id) +
           "\" w:author=\"Ann Lee\" w:date=\"2026-03-01T09:00:00Z\">" + Paragraph(text) +
           "</w:comment>";
}

inline std::vector<Shape> Shapes() {
    return {
        {"one word per 50 paragraphs",
         [](int n, std::string& a, std::string& b) {
             std::mt19937 random(1);
             for (int i = 0; i < n; ++i) {
                 const std::string text = Sentence(random, 14);
                 a += Paragraph(text);
                 b += Paragraph(i % 50 == 0 ? ChangeWord(text, 3, "changed") : text);
             }
         }},
        {"copy-edited: stretches of 200 edited",
         [](int n, std::string& a, std::string& b) {
             std::mt19937 random(2);
             for (int i = 0; i < n; ++i) {
                 const std::string text = Sentence(random, 14);
                 a += Paragraph(text);
                 b += Paragraph(
                     i % 200 == 0 ? text : ChangeWord(ChangeWord(text, 2, "edited"), 9, "also"));
             }
         }},
        {"one paragraph, a run per word",
         [](int n, std::string& a, std::string& b) {
             std::mt19937 random(3);
             std::string runsA, runsB;
             for (int i = 0; i < n; ++i) {
                 const std::string word = kWords[random() % (sizeof kWords / sizeof *kWords)];
                 runsA += "<w:r><w:t xml:space=\"preserve\">" + word + " </w:t></w:r>";
                 runsB += "<w:r><w:t xml:space=\"preserve\">" + (i % 50 == 0 ? "new" : word) +
                          " </w:t></w:r>";
             }
             a += "<w:p>" + runsA + "</w:p>";
             b += "<w:p>" + runsB + "</w:p>";
         }},
        {"two different documents",
         [](int n, std::string& a, std::string& b) {
             std::mt19937 random(4);
             for (int i = 0; i < n; ++i) a += Paragraph(Sentence(random, 14));
             for (int i = 0; i < n; ++i) b += Paragraph(Sentence(random, 14));
         }},
        {"every paragraph edited",
         [](int n, std::string& a, std::string& b) {
             std::mt19937 random(5);
             for (int i = 0; i < n; ++i) {
                 const std::string text = Sentence(random, 14);
                 a += Paragraph(text);
                 b += Paragraph(ChangeWord(text, 5, "edited"));
             }
         }},
        {"paragraphs reversed",
         [](int n, std::string& a, std::string& b) {
             std::mt19937 random(6);
             std::vector<std::string> texts;
             for (int i = 0; i < n; ++i) texts.push_back(Paragraph(Sentence(random, 14)));
             for (const auto& text : texts) a += text;
             for (auto at = texts.rbegin(); at != texts.rend(); ++at) b += *at;
         }},
        {"identical short lines",
         [](int n, std::string& a, std::string& b) {
             for (int i = 0; i < n; ++i) {
                 a += Paragraph("Line.");
                 b += Paragraph(i == n / 2 ? "Line changed." : "Line.");
             }
         }},
        // A word changed in one paragraph in 50, a comment re-worded in one in 100 and one
        // dropped in 200.
        {"a comment on every paragraph",
         [](int n, std::string& a, std::string& b) {
             std::mt19937 random(8);
             for (int i = 0; i < n; ++i) {
                 const std::string text = Sentence(random, 14);
                 a += Commented(i, text);
                 const std::string revised = i % 50 == 0 ? ChangeWord(text, 3, "changed") : text;
                 b += i % 200 == 7 ? Paragraph(revised) : Commented(i, revised);
             }
         },
         [](int n, std::string& a, std::string& b) {
             std::mt19937 random(9);
             for (int i = 0; i < n; ++i) {
                 const std::string text = Sentence(random, 6);
                 a += Comment(i, text);
                 if (i % 200 != 7)
                     b += Comment(i, i % 100 == 3 ? ChangeWord(text, 1, "now") : text);
             }
         }},
    };
}

}  // namespace shapes
