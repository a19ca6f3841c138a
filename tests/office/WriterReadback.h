// Reading a document back as the office has it, and resolving its tracked changes with the
// office's own commands: how the checks see what the office made of our engine's result.
#pragma once

#include <set>
#include <string>

#include "office/WriterSession.h"

using DocumentRef = office::ComparisonSession::DocumentRef;

// The document's text as the office has it: paragraphs end in "\n", table cells in "\t" and
// rows in "\n"; then each note, header, footer and text box that holds any text, under a title
// line; then each comment the document shows, with its author.
std::string DocumentText(office::WriterSession& session, const DocumentRef& document);

// The document at `path` opened as the program shows a result: an untitled copy that can be
// changed, its tracked changes accepted or rejected.
DocumentRef OpenToResolve(office::WriterSession& session, const std::string& path);

// Accepts, or rejects, every tracked change of the document with the office's own command.
void ResolveAll(office::WriterSession& session, const DocumentRef& document, bool accept);

// The tracked changes the office sees in the document, by kind.
struct RedlineCounts {
    int insertions = 0;
    int deletions = 0;
    int other = 0;
    std::set<std::string> authors{};  // who made them, as the office names them
};
RedlineCounts CountRedlines(office::WriterSession& session, const DocumentRef& document);
