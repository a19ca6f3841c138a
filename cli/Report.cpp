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
    if (!combined) {
        out << ", \"tracked_by\": "
            << (change.trackedBy.empty() ? std::string("null") : JsonText(change.trackedBy));
    }
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

// One input's tracked changes: {"changes": 3, "authors": {"Ann": 2, "Ben": 1}}.
void PrintHeld(std::ostream& out, const std::vector<redline::TrackedAuthor>& held) {
    int all = 0;
    for (const redline::TrackedAuthor& author : held) all += author.changes;
    out << "{\"changes\": " << all << ", \"authors\": {";
    for (std::size_t i = 0; i < held.size(); ++i) {
        out << (i ? ", " : "") << JsonText(held[i].author) << ": " << held[i].changes;
    }
    out << "}}";
}

void PrintJson(std::ostream& out, const std::vector<redline::Change>& changes,
               const std::string& result, const redline::CompareOptions& settings,
               const std::vector<NamedCopy>& reviewers, const redline::TrackedInputs* tracked) {
    const redline::ChangeCounts counts = redline::Count(changes);
    out << "{\"insertions\": " << counts.insertions << ", \"deletions\": " << counts.deletions
        << ", \"moves\": " << counts.moves << ", \"formatting\": " << counts.formatting
        << ", \"result\": " << (result.empty() ? "null" : JsonText(result))
        << ", \"settings\": {\"formatting\": " << Bool(settings.formatting)
        << ", \"ignoreCase\": " << Bool(settings.ignoreCase)
        << ", \"ignoreWhitespace\": " << Bool(settings.ignoreWhitespace)
        << ", \"moves\": " << Bool(settings.moves)
        << ", \"characterLevel\": " << Bool(settings.characterLevel)
        << ", \"acceptTracked\": " << Bool(settings.acceptTracked) << ", \"skip\": [";
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
    if (tracked) {
        out << ", \"tracked_inputs\": {\"original\": ";
        PrintHeld(out, tracked->original);
        out << ", \"revised\": ";
        PrintHeld(out, tracked->revised);
        out << ", \"accepted\": " << Bool(tracked->accepted) << "}";
    }
    out << ", \"changes\": [";
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (i) out << ", ";
        PrintChange(out, changes[i], i + 1, combined);
    }
    out << "]}\n";
}

namespace {

// "3 tracked changes (Ann 2, Ben 1)".
std::string HeldText(const std::vector<redline::TrackedAuthor>& held) {
    int all = 0;
    std::string authors;
    for (const redline::TrackedAuthor& author : held) {
        all += author.changes;
        authors += (authors.empty() ? "" : ", ") +
                   (author.author.empty() ? std::string("no author") : author.author) + " " +
                   std::to_string(author.changes);
    }
    return std::to_string(all) + (all == 1 ? " tracked change (" : " tracked changes (") + authors +
           ")";
}

}  // namespace

std::string DescribeTrackedInputs(const redline::TrackedInputs& tracked,
                                  const std::string& original, const std::string& revised) {
    std::string text;
    if (!tracked.original.empty()) {
        text += "\"" + original + "\" held " + HeldText(tracked.original) +
                (tracked.accepted ? ": accepted before comparing.\n"
                                  : ": compared as accepted; those the revised document still "
                                    "holds stay pending in the result.\n");
    }
    if (!tracked.revised.empty()) {
        text += "\"" + revised + "\" held " + HeldText(tracked.revised) +
                (tracked.accepted ? ": accepted before comparing, every change marked under "
                                    "the comparing author.\n"
                                  : ": kept in the result under their authors; what it changed "
                                    "without tracking is marked under the comparing author.\n");
    }
    if (tracked.notKept > 0) {
        text += std::to_string(tracked.notKept) + " characters of \"" + revised +
                "\"'s tracked changes found no place in the result: they are taken as "
                "accepted.\n";
    }
    return text;
}
