// A marked-up result read back for people: each story of the document (the body, then headers,
// footers, notes and text boxes) as paragraphs and tables whose text is cut into spans that are
// plain, inserted, deleted, moved away, moved here or reformatted, for reports to show.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "redline/Changes.h"

namespace redline {

enum class SpanKind : std::uint8_t { Plain, Inserted, Deleted, MovedFrom, MovedTo };

struct Span {
    SpanKind kind = SpanKind::Plain;
    std::string text;
    bool reformatted = false;
    int mark = 0;          // the id of the tracked change it shows, or 0
    int note = 0;          // a note's reference: the note's number in its story, else 0
    bool noteEnd = false;  // the reference is to an endnote
    int box = 0;           // a text box that stands here: its number, else 0
    int comment = 0;       // a comment's reference: the comment's number, else 0
};

struct MarkedParagraph {
    std::vector<Span> spans;
    SpanKind end = SpanKind::Plain;  // what became of its paragraph mark
    int endMark = 0;
    int restyled = 0;  // the id of the change of its properties, or 0
    // Its number in its story in each document, counted from 1; 0 where it is not there.
    std::uint32_t original = 0, revised = 0;
    bool changed() const;
};

// A change of the formatting of a table, one of its rows or cells, or a section: what changed
// as a reader names it ("row height", "section: landscape") and the id of its mark.
struct Reformatting {
    std::string what;
    int mark = 0;
};

struct MarkedBlock;

struct MarkedRow {
    SpanKind kind = SpanKind::Plain;  // a row inserted or deleted whole
    int mark = 0;
    std::vector<std::vector<MarkedBlock>> cells;
};

struct MarkedBlock {
    bool table = false;
    MarkedParagraph paragraph;              // when not a table
    std::vector<MarkedRow> rows;            // when a table
    std::vector<Reformatting> reformatted;  // of the table, its rows and cells
};

struct MarkedStory {
    Part part;
    // "Body", "Header (first page)", "Footnote 2", "Text box 1", "Comment 3 (by A. Reviewer)"
    std::string title;
    std::vector<MarkedBlock> blocks;
    std::vector<Reformatting> reformatted;  // of the body's sections
};

// A marked-up document as reports read it: its stories, and who made each tracked change, by the
// change's id (a span's or a row's `mark`).
struct MarkedDocument {
    std::vector<MarkedStory> stories;
    std::map<int, std::string> authors;
};

// The stories of the marked-up .docx at `path`, the body first. Raises BadDocument.
std::vector<MarkedStory> ReadMarked(const std::string& path);

// Who made each tracked change of the marked-up .docx at `path`. Raises BadDocument.
std::map<int, std::string> ChangeAuthors(const std::string& path);

}  // namespace redline
