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

void PrintJson(std::ostream& out, const std::vector<redline::Change>& changes,
               const std::string& result) {
    const redline::ChangeCounts counts = redline::Count(changes);
    out << "{\"insertions\": " << counts.insertions << ", \"deletions\": " << counts.deletions
        << ", \"moves\": " << counts.moves << ", \"formatting\": " << counts.formatting
        << ", \"result\": " << JsonText(result) << ", \"changes\": [";
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (i) out << ", ";
        PrintChange(out, changes[i]);
    }
    out << "]}\n";
}
