// A change report to read in any browser, offline, in one file: a summary of the comparison
// (the two files, the settings, the counts by kind and part, every change numbered and linked),
// then the document in order with each change styled, numbered and explained by a legend. All
// that comes from the documents is escaped, and the page forbids scripts of any kind.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "redline/Changes.h"
#include "redline/MarkedResult.h"

struct ReportedFile {
    std::string role;  // "Original", "Revised"
    std::string path;
    std::uintmax_t bytes = 0;
    std::string modified;  // as a reader reads it: "2026-12-08 10:42"
};

// Name and size and time of the file at `path`, as the report shows them.
ReportedFile DescribeFile(const std::string& role, const std::string& path);

struct ReportContent {
    std::vector<ReportedFile> files;
    std::vector<std::string> settings;  // "formatting: ignored", ...
    std::vector<redline::Change> changes;
    std::vector<redline::MarkedStory> stories;
    // Combined copies: the reviewers in their order, and who made each change, by its id.
    std::vector<std::string> reviewers{};
    std::map<int, std::string> authors{};
    // The revised document held tracked changes, kept: each change says whether it was one, and
    // those made without tracking are counted, marked and can be shown alone.
    bool trackedInputs = false;
};

// `text` with &, <, >, " and ' escaped for HTML text and attribute values.
std::string HtmlEscape(const std::string& text);

// A file's size for a reader: "812 bytes", "3.4 KB", "1.2 MB".
std::string SizeText(std::uintmax_t bytes);

// A change's text cut after 200 bytes (on a character's boundary), with "…".
std::string Shortened(const std::string& text);

void WriteHtmlReport(std::ostream& out, const ReportContent& report);

// The report's style sheet.
extern const char* const kReportStyle;
