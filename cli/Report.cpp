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

template <class Item, class Write>
void PrintList(std::ostream& out, const std::vector<Item>& items, Write write) {
    out << "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) out << ", ";
        write(items[i]);
    }
    out << "]";
}

void PrintChange(std::ostream& out, const redline::Change& change, std::size_t number,
                 bool combined) {
    out << "{";
    if (combined) out << "\"id\": " << number << ", ";
    out << "\"kind\": \"" << redline::KindName(change.kind) << "\", \"part\": \""
        << redline::PartName(change.part) << "\", \"text\": " << JsonText(change.text);
    if (combined) {
        out << ", \"reviewers\": ";
        PrintList(out, change.reviewers, [&](const std::string& name) { out << JsonText(name); });
        out << ", \"conflicts_with\": ";
        PrintList(out, change.conflictsWith, [&](int other) { out << other; });
    }
    if (!change.author.empty()) out << ", \"author\": " << JsonText(change.author);
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

namespace {

// The parts --skip names, and what each leaves out.
struct Skippable {
    const char* name;
    bool redline::Skipped::*flag;
};
constexpr Skippable kSkippable[] = {
    {"tables", &redline::Skipped::tables},     {"headers", &redline::Skipped::headers},
    {"footers", &redline::Skipped::footers},   {"footnotes", &redline::Skipped::footnotes},
    {"endnotes", &redline::Skipped::endnotes}, {"textboxes", &redline::Skipped::textBoxes},
    {"comments", &redline::Skipped::comments}, {"fields", &redline::Skipped::fields},
};

std::vector<std::string> SkippedNames(const redline::Skipped& skip) {
    std::vector<std::string> names;
    for (const Skippable& part : kSkippable) {
        if (part.flag && skip.*part.flag) names.push_back(part.name);
    }
    return names;
}

}  // namespace

bool SkipPart(const std::string& name, redline::Skipped& skip) {
    for (const Skippable& part : kSkippable) {
        if (name != part.name) continue;
        if (part.flag) skip.*part.flag = true;
        return true;
    }
    return false;
}

namespace {

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
               const std::string& result, const redline::CompareOptions& settings,
               const std::vector<NamedCopy>& reviewers) {
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
    out << "]}";
    const bool combined = !reviewers.empty();
    if (combined) {
        out << ", \"reviewers\": ";
        PrintList(out, reviewers, [&](const NamedCopy& copy) {
            out << "{\"name\": " << JsonText(copy.reviewer) << ", \"copy\": " << JsonText(copy.path)
                << "}";
        });
    }
    out << ", \"changes\": [";
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (i) out << ", ";
        PrintChange(out, changes[i], i + 1, combined);
    }
    out << "]}\n";
}
