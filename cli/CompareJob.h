// One comparison as the command line runs it: our engine on Word 2007+ documents, the office
// only to turn other formats into Word 2007+ and the result into the format asked for. The
// result is stored under a temporary name beside RESULT and renamed when complete, so that no
// half-written file is ever left under the name asked for, and an input is never the result.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Converter.h"
#include "redline/Changes.h"
#include "redline/Compare.h"
#include "redline/MarkedResult.h"

struct CompareJob {
    std::string original, revised;
    std::string result;  // none: the marked-up document is only looked at, then removed
    // Combining reviewers' copies: every copy (`revised` is the first), and a name for each
    // ("": the one its properties or file name give).
    std::vector<std::string> copies{};
    std::vector<std::string> reviewers{};
    std::string report{};  // the HTML report written beside the job, if any
    bool combines() const { return !copies.empty(); }
};

enum ExitCode {
    kDone = 0,
    kEngineFailure = 1,  // the word processor, or the comparison itself, failed
    kUsage = 2,          // wrong usage, a result that is one of the inputs included
    kBadInput = 3,       // an input document cannot be used
    kResultFailure = 4,  // the result cannot be written
};

// Gives the office when a job needs one, starting it at the first need.
using OfficeSource = std::function<Converter&()>;

// The extension of `path` in lower case, its dot included: ".docx".
std::string LowerExtension(const std::string& path);

// The office's export filter for the result's extension (.docx, .odt, .doc, .pdf), or "".
std::string ExportFilter(const std::string& result);

// Whether the two paths name one file, however spelt: the same name, another relative or
// absolute spelling, a symbolic link or a hard link.
bool SameFile(const std::string& first, const std::string& second);

// A job refused before anything was written: its result would overwrite one of its inputs.
class ResultIsInput : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A job that cannot run as given, refused before anything is read or written.
class JobRefused : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

// Refuses what no run of the job could do: combining no copy or more than
// redline::kMostReviewers, one copy given twice, more reviewers' names than copies, a result in a
// format that cannot be written (JobRefused); a result or a report that would overwrite an
// input, or a report the result (ResultIsInput). The command line
// and the module both ask it, so that they refuse alike.
void CheckJob(const CompareJob& job);

// Shown the marked-up .docx, what changed and the result as reports read it (the engine's own
// reading of it, not the file's read back), before it is stored or removed: for reports.
using MarkedLook =
    std::function<void(const std::string& marked, const std::vector<redline::Change>& changes,
                       redline::MarkedDocument& document)>;

// Runs one job with `settings` (the author the tracked changes carry, and what the comparison
// leaves out); raises what CheckJob raises, an office::DocumentError for a document that cannot be
// used, office::ResultError when the result cannot be written, or another automation::Error,
// and leaves nothing behind when it fails: a file already under the result's name stays as it
// was. With `tracked`, a comparison also says what tracked changes its inputs held.
std::vector<redline::Change> RunJob(const OfficeSource& office, const CompareJob& job,
                                    const redline::CompareOptions& settings,
                                    const MarkedLook& look = {},
                                    redline::TrackedInputs* tracked = nullptr);

struct JobFailure {
    ExitCode code;
    std::string description;
    std::string detail;  // what the word processor or the engine itself said, for a developer
};

// What the exception being handled says about a failed job; call it inside a catch block.
JobFailure CurrentFailure(const CompareJob& job);
