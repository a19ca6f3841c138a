// One comparison as the command line runs it: the marked-up result of REVISED against ORIGINAL,
// stored under a temporary name beside RESULT and renamed when complete, so that no half-written
// file is ever left under the name asked for.
#pragma once

#include <string>

#include "office/loader/ComparisonSession.h"

struct CompareJob {
    std::string original, revised, result;
};

// The office's export filter for the result's extension (.docx, .odt, .doc, .pdf), or "".
std::string ExportFilter(const std::string& result);

// Whether the folder that is to hold `result` exists and can be written; else what is wrong.
std::string ResultFolderProblem(const std::string& result);

// Runs one job in `session`; raises automation::Error (office::DocumentError for a document
// that cannot be used) and leaves nothing behind when it fails.
office::ChangeCounts RunJob(office::ComparisonSession& session, const CompareJob& job);
