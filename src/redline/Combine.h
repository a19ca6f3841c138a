// Combining reviewers' copies: the original and each reviewer's copy of it in, one document out
// in which every reviewer's changes are tracked under that reviewer's name. Where reviewers
// changed the same paragraph, each one's version is kept and the changes are said to conflict;
// none is dropped or chosen. Rejecting every change gives the original back.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "redline/Changes.h"
#include "redline/Compare.h"
#include "redline/Errors.h"

namespace redline {

struct ReviewedCopy {
    std::string path;
    std::string reviewer;  // the name its changes carry; empty: DocumentReviewer(path)
};

// No more copies than this are combined into one document.
constexpr std::size_t kMostReviewers = 64;

// Writes the combined result as a .docx file at `result` and answers every change, each with its
// reviewers. `options` as for a comparison, but for its author, which each copy's reviewer takes.
// Raises UnreadableDocument naming the input it cannot read, UnwritableResult when the result
// cannot be written, and std::invalid_argument for no copies or too many.
// With `marked`, also the result as reports read it, as CompareDocuments gives it.
std::vector<Change> CombineDocuments(const std::string& original,
                                     const std::vector<ReviewedCopy>& copies,
                                     const std::string& result, const CompareOptions& options = {},
                                     MarkedDocument* marked = nullptr);

// The names the copies' changes carry, in their order: each one's given name, else
// DocumentReviewer's; two alike are told apart as "Ann" and "Ann (2)".
std::vector<std::string> ReviewerNames(const std::vector<ReviewedCopy>& copies);

// Who a copy's changes are from: the last editor its document properties name, else its author,
// else its file name without the extension.
std::string DocumentReviewer(const std::string& path);

}  // namespace redline
