// One comparison as the command line runs it: our engine on Word 2007+ documents, the office
// only to turn other formats into Word 2007+ and the result into the format asked for. The
// result is stored under a temporary name beside RESULT and renamed when complete, so that no
// half-written file is ever left under the name asked for.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "office/loader/ComparisonSession.h"
#include "redline/Changes.h"

struct CompareJob {
    std::string original, revised, result;
};

// Gives the office when a job needs one, starting it at the first need.
using OfficeSource = std::function<office::ComparisonSession&()>;

// The office's export filter for the result's extension (.docx, .odt, .doc, .pdf), or "".
std::string ExportFilter(const std::string& result);

// Whether the folder that is to hold `result` exists and can be written; else what is wrong.
std::string ResultFolderProblem(const std::string& result);

// Runs one job with the tracked changes carrying `author`; raises automation::Error
// (office::DocumentError for a document that cannot be used) and leaves nothing behind when it
// fails.
std::vector<redline::Change> RunJob(const OfficeSource& office, const CompareJob& job,
                                    const std::string& author);
