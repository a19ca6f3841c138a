// Documents for the benchmarks: pairs of a given length, made by the office's own converter.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

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
