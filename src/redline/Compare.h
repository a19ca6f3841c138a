// Comparing two OOXML word processing documents: the original and the revised in, one document
// out that holds the revised one with every difference from the original marked as a tracked
// change (rejecting them all gives the original back, accepting them all the revised).
#pragma once

#include <string>
#include <vector>

#include "redline/Changes.h"
#include "redline/Errors.h"

namespace redline {

// Parts of a document that a comparison can leave alone: the result takes them from the revised
// document unmarked (a table's structure; its paragraphs are still compared, as plain ones).
struct Skipped {
    bool tables = false, headers = false, footers = false, footnotes = false, endnotes = false,
         textBoxes = false, fields = false, comments = false;
};

struct CompareOptions {
    std::string author = "Quorvane";
    std::string date;        // as ISO 8601 wants it; now, when empty
    bool formatting = true;  // mark changes of formatting as well as of text
    // Unwrap block-level content controls that hold changes: for an office that shows no
    // change inside them (Writer reads them as marks of its own and drops the changes).
    bool forWriter = false;

    // What the comparison leaves out. Rejecting every change still gives the original, except
    // for what is left out; accepting every change always gives the revised document.
    bool ignoreCase = false;        // "Colour" and "colour" are one word
    bool ignoreWhitespace = false;  // spaces, tabs and no-break spaces, and how many, are alike
    bool moves = true;              // a moved paragraph is marked moved, else deleted and inserted
    bool characterLevel = false;    // a changed word marks only the characters that changed
    Skipped skip;                   // parts taken from the revised document unmarked
    // Take the inputs' own tracked changes as accepted before comparing, every mark then the
    // comparing author's; by default the revised document's stay, each under its author.
    bool acceptTracked = false;
};

struct MarkedDocument;

// Writes the marked-up result as a .docx file at `result` and answers what changed; with
// `marked`, also the result as reports read it (MarkedResult.h), from the comparison's own
// reading of it, without reading the file back. Raises UnreadableDocument, naming the input, for
// every part of an input it cannot read, and UnwritableResult when the result cannot be written.
// With `tracked`, also what tracked changes the inputs held and how they were treated.
std::vector<Change> CompareDocuments(const std::string& original, const std::string& revised,
                                     const std::string& result, const CompareOptions& options = {},
                                     MarkedDocument* marked = nullptr,
                                     TrackedInputs* tracked = nullptr);

// Whether the file at `path` is a Word document in OOXML (.docx, .docm, .dotx), which the engine
// reads as it is; anything else has to be converted first.
bool IsWordDocument(const std::string& path);

// Now, as the date of a tracked change: "2026-12-08T03:42:00Z".
std::string RevisionDate();

}  // namespace redline
