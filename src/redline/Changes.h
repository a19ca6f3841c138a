// What a comparison found: every change with its kind, the part of the document it lies in, the
// text it covers and where it stands, for reports and for scripts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace redline {

enum class ChangeKind { Insertion, Deletion, Move, Formatting };
enum class Part { Body, Table, Header, Footer, Footnote, Endnote, TextBox, Section, Comment };

struct Change {
    ChangeKind kind;
    Part part;
    std::string text;
    // The paragraph it stands in, counted from 1 in its part of each document (0 where it does
    // not stand in that document); a move has both.
    std::uint32_t originalParagraph = 0, revisedParagraph = 0;
    // The id of the first tracked change in the result that shows it, or 0: where a report
    // finds it in the marked-up document.
    int mark = 0;
    // In a comment: the comment's author.
    std::string author{};
    // Of several reviewers' copies combined: who made the change (more than one when they made
    // it alike), and the changes, by their place in the list counted from 1, that another
    // reviewer made to the same paragraph.
    std::vector<std::string> reviewers{};
    std::vector<int> conflictsWith{};
    // Where the revised document tracked this change itself: under whose name; "" for a
    // difference it made without tracking.
    std::string trackedBy{};
};

// The tracked changes an input held when it was read: how many, by whom.
struct TrackedAuthor {
    std::string author;
    int changes = 0;
};

struct TrackedInputs {
    std::vector<TrackedAuthor> original, revised;
    // Every input change taken as accepted before comparing (the setting), rather than the
    // revised document's kept under their authors.
    bool accepted = false;
    // Characters or objects in the revised document's changes that found no place in the
    // result, and were taken as accepted.
    int notKept = 0;
};

struct ChangeCounts {
    int insertions = 0, deletions = 0, moves = 0, formatting = 0;
};

inline ChangeCounts Count(const std::vector<Change>& changes) {
    ChangeCounts counts;
    for (const Change& change : changes) {
        switch (change.kind) {
            case ChangeKind::Insertion:
                ++counts.insertions;
                break;
            case ChangeKind::Deletion:
                ++counts.deletions;
                break;
            case ChangeKind::Move:
                ++counts.moves;
                break;
            case ChangeKind::Formatting:
                ++counts.formatting;
                break;
        }
    }
    return counts;
}

inline const char* KindName(ChangeKind kind) {
    static const char* const names[] = {"insertion", "deletion", "move", "formatting"};
    return names[static_cast<int>(kind)];
}

inline const char* PartName(Part part) {
    static const char* const names[] = {"body",    "table",    "header",  "footer", "footnote",
                                        "endnote", "text box", "section", "comment"};
    return names[static_cast<int>(part)];
}

}  // namespace redline
