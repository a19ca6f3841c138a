// The report's text as HTML wants it, what it says of each file, and its style sheet.
#include "HtmlReport.h"

#include <cstdio>
#include <ctime>

#include "office/loader/FileSystem.h"

std::string HtmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                // Control characters have no place in HTML text; a tab reads as a space.
                if (static_cast<unsigned char>(c) < 0x20 && c != '\n') {
                    out += ' ';
                } else {
                    out += c;
                }
        }
    }
    return out;
}

ReportedFile DescribeFile(const std::string& role, const std::string& path) {
    ReportedFile file{role, path, 0, ""};
    const office::FileFacts facts = office::FactsOf(path);
    if (!facts.exists) return file;
    file.bytes = facts.size;
    std::tm local{};
#ifdef _WIN32
    const bool known = localtime_s(&local, &facts.modified) == 0;
#else
    const bool known = localtime_r(&facts.modified, &local) != nullptr;
#endif
    if (known) {
        char text[32];
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
        file.modified = text;
    }
    return file;
}

// The report's style sheet: each kind of change told by more than colour, each reviewer by a
// colour of their own.
std::string SizeText(std::uintmax_t bytes) {
    if (bytes < 1024) return std::to_string(bytes) + " bytes";
    char text[32];
    std::snprintf(text, sizeof text, bytes < 1024 * 1024 ? "%.1f KB" : "%.1f MB",
                  bytes < 1024 * 1024 ? bytes / 1024.0 : bytes / 1048576.0);
    return text;
}

std::string Shortened(const std::string& text) {
    if (text.size() <= 200) return text;
    std::size_t cut = 200;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return text.substr(0, cut) + "…";
}

const char* const kReportStyle = R"(
:root { --ins: #0b6b2e; --del: #a3162b; --move: #1d4ed8; --fmt: #8a5a00; }
* { box-sizing: border-box; }
body { font: 1rem/1.55 system-ui, sans-serif; margin: 0 auto; padding: 1rem; max-width: 60rem;
       color: #1b1b1b; background: #fff; }
.doc, .path, .changes, h1 { overflow-wrap: anywhere; }
summary h3 { display: inline; }
h1 { font-size: 1.5rem; } h2 { font-size: 1.25rem; margin-top: 2rem; border-bottom: 1px solid #ccc; }
table { border-collapse: collapse; max-width: 100%; }
.scroll { overflow-x: auto; }
th, td { border: 1px solid #bbb; padding: .25rem .5rem; text-align: left; vertical-align: top; }
ins, del, .move-from, .move-to, .fmt { text-decoration-thickness: 2px; }
ins { color: var(--ins); text-decoration: underline; background: #e6f4ea; }
del { color: var(--del); text-decoration: line-through; background: #fdecee; }
.move-from { color: var(--move); text-decoration: line-through double; background: #e8efff; }
.move-to { color: var(--move); text-decoration: underline double; background: #e8efff; }
.fmt { text-decoration: underline dotted; text-decoration-color: var(--fmt); }
.n, [data-n]::before { font-size: .7em; font-weight: bold; color: #fff; background: #444;
     border-radius: .6em; padding: 0 .35em; margin-right: .15em; text-decoration: none;
     display: inline-block; line-height: 1.4; }
[data-n]::before { content: attr(data-n); }
.tag { font-size: .75em; font-style: italic; color: #555; }
.doc p { margin: .4rem 0; white-space: pre-wrap; }
.chunk { content-visibility: auto; contain-intrinsic-size: auto 40em; }
.doc .changed { border-left: 3px solid #999; padding-left: .5rem; }
.legend li { margin: .2rem 0; }
.visually-hidden { position: absolute; width: 1px; height: 1px; overflow: hidden;
                   clip: rect(0 0 0 0); white-space: nowrap; }
a { color: #0645ad; }
.r0 { --who: #b3261e; } .r1 { --who: #1d4ed8; } .r2 { --who: #0b6b2e; } .r3 { --who: #8a3ffc; }
.r4 { --who: #a15c00; } .r5 { --who: #00727a; } .r6 { --who: #c2185b; } .r7 { --who: #4e5b00; }
.by ins, .by del, .by .move-from, .by .move-to { color: var(--who); background: none; }
.by ins.r-, .by del.r- { color: inherit; }
.swatch { color: var(--who); font-weight: bold; }
.conflict { font-weight: bold; color: #a3162b; }
.untracked-mark { font-weight: bold; color: #8a5a00; border: 1px solid currentColor;
  border-radius: .25rem; padding: 0 .25rem; font-size: .85em; }
.tracked-by { color: #555; font-size: .85em; }
#only-untracked:checked ~ details li:not(.untracked) { display: none; }
@media (max-width: 40rem) { body { padding: .5rem; font-size: .95rem; } th, td { padding: .2rem; }
                            .counts { font-size: .85rem; } }
)";
