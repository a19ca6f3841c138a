// Many comparisons at once: a batch file of jobs, one a line, run by N workers that each keep
// one office, when their jobs need one at all, for all their jobs.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CompareJob.h"

struct BatchLine {
    int number;
    CompareJob job;
};

// The jobs of a batch file: ORIGINAL, REVISED and RESULT separated by tabs, one job a line;
// blank lines and lines starting with '#' are skipped. Raises std::runtime_error naming the
// first line that is not a job.
std::vector<BatchLine> ReadBatchFile(const std::string& path);

struct BatchOutcome {
    int done = 0;
    int failed = 0;
    // kDone when every job succeeded; else the code of the failures, the first of
    // kEngineFailure, kResultFailure, kUsage and kBadInput that any job met.
    ExitCode exitCode = kDone;
    double seconds = 0;
};

// What the workers tell as they go: a failed job with its description, and the progress.
struct BatchReport {
    std::function<void(const BatchLine&, const std::string& description)> failed;
    std::function<void(int finished, int total, int failed)> progress;
};

// Starts an office, for a worker whose job needs one.
using OfficeStarter = std::function<std::unique_ptr<Converter>()>;

// Runs the jobs with `workers` side by side; each worker starts an office only when one of its
// jobs needs it, and keeps it for the rest.
BatchOutcome RunBatch(const OfficeStarter& startOffice, const redline::CompareOptions& settings,
                      const std::vector<BatchLine>& lines, int workers, const BatchReport& report);
