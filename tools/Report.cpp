#include "Report.h"

#include <cstdio>

std::string JsonText(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

void PrintCounts(std::ostream& out, const std::vector<redline::Change>& changes) {
    const redline::ChangeCounts counts = redline::Count(changes);
    out << "insertions: " << counts.insertions << "\ndeletions: " << counts.deletions
        << "\nmoves: " << counts.moves << "\nformatting changes: " << counts.formatting << "\n";
}

namespace {

void PrintChange(std::ostream& out, const redline::Change& change) {
    out << "{\"kind\": \"" << redline::KindName(change.kind) << "\", \"part\": \""
        << redline::PartName(change.part) << "\", \"text\": " << JsonText(change.text);
    if (change.kind == redline::ChangeKind::Move) {
        out << ", \"from\": {\"paragraph\": " << change.originalParagraph
            << "}, \"to\": {\"paragraph\": " << change.revisedParagraph << "}";
    } else if (change.kind == redline::ChangeKind::Deletion) {
        out << ", \"paragraph\": " << change.originalParagraph;
    } else {
        out << ", \"paragraph\": " << change.revisedParagraph;
    }
    out << "}";
}

}  // namespace

const std::vector<std::string>& SkippableParts() {
    static const std::vector<std::string> names = {"tables",   "headers",   "footers",  "footnotes",
                                                   "endnotes", "textboxes", "comments", "fields"};
    return names;
}

bool SkipPart(const std::string& name, redline::Skipped& skip) {
    bool* const flags[] = {&skip.tables,   &skip.headers,   &skip.footers, &skip.footnotes,
                           &skip.endnotes, &skip.textBoxes, nullptr,       &skip.fields};
    const auto& names = SkippableParts();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] != name) continue;
        if (flags[i]) *flags[i] = true;
        return true;
    }
    return false;
}

namespace {

std::vector<std::string> SkippedNames(const redline::Skipped& skip) {
    const bool flags[] = {skip.tables,   skip.headers,   skip.footers, skip.footnotes,
                          skip.endnotes, skip.textBoxes, false,        skip.fields};
    std::vector<std::string> names;
    for (std::size_t i = 0; i < SkippableParts().size(); ++i) {
        if (flags[i]) names.push_back(SkippableParts()[i]);
    }
    return names;
}

const char* Bool(bool value) {
    return value ? "true" : "false";
}

}  // namespace

std::vector<std::string> DescribeSettings(const redline::CompareOptions& settings) {
    std::vector<std::string> lines = {
        std::string("formatting: ") + (settings.formatting ? "compared" : "left out"),
        std::string("case: ") + (settings.ignoreCase ? "ignored" : "compared"),
        std::string("white space: ") + (settings.ignoreWhitespace ? "ignored" : "compared"),
        std::string("moves: ") +
            (settings.moves ? "marked as moves" : "marked as deletions and insertions"),
        std::string("changed words: ") + (settings.characterLevel ? "by character" : "whole"),
    };
    std::string skipped;
    for (const std::string& name : SkippedNames(settings.skip)) {
        skipped += (skipped.empty() ? "" : ", ") + name;
    }
    lines.push_back("left out: " + (skipped.empty() ? std::string("nothing") : skipped));
    return lines;
}

void PrintJson(std::ostream& out, const std::vector<redline::Change>& changes,
               const std::string& result, const redline::CompareOptions& settings) {
    const redline::ChangeCounts counts = redline::Count(changes);
    out << "{\"insertions\": " << counts.insertions << ", \"deletions\": " << counts.deletions
        << ", \"moves\": " << counts.moves << ", \"formatting\": " << counts.formatting
        << ", \"result\": " << (result.empty() ? "null" : JsonText(result))
        << ", \"settings\": {\"formatting\": " << Bool(settings.formatting)
        << ", \"ignoreCase\": " << Bool(settings.ignoreCase)
        << ", \"ignoreWhitespace\": " << Bool(settings.ignoreWhitespace)
        << ", \"moves\": " << Bool(settings.moves)
        << ", \"characterLevel\": " << Bool(settings.characterLevel) << ", \"skip\": [";
    const auto skipped = SkippedNames(settings.skip);
    for (std::size_t i = 0; i < skipped.size(); ++i) out << (i ? ", " : "") << JsonText(skipped[i]);
    out << "]}, \"changes\": [";
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (i) out << ", ";
        PrintChange(out, changes[i]);
    }
    out << "]}\n";
}
