#include "Batch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "office/loader/DocumentCheck.h"
#include "redline/Combine.h"
#include "redline/FilePath.h"

std::vector<BatchLine> ReadBatchFile(const std::string& path) {
    std::ifstream in(redline::FilePath(path));
    if (!in) throw std::runtime_error("the batch file \"" + path + "\" cannot be read.");
    std::vector<BatchLine> lines;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.find_first_not_of(" \t") == std::string::npos || text[0] == '#') continue;
        std::vector<std::string> fields;
        std::stringstream parts(text);
        for (std::string field; std::getline(parts, field, '\t');) fields.push_back(field);
        const std::string where = "line " + std::to_string(number) + " of \"" + path + "\": ";
        const bool blank = std::any_of(fields.begin(), fields.end(),
                                       [](const std::string& field) { return field.empty(); });
        if (fields.size() < 3 || blank) {
            throw std::runtime_error(where +
                                     "ORIGINAL, REVISED and RESULT separated by tabs "
                                     "expected.");
        }
        CompareJob job{fields[0], fields[1], fields.back()};
        // More than one copy: the reviewers' copies are combined.
        if (fields.size() > 3) job.copies.assign(fields.begin() + 1, fields.end() - 1);
        try {
            CheckJob(job);
        } catch (const JobRefused& e) {
            throw std::runtime_error(where + e.what());
        } catch (const ResultIsInput&) {
            // Refused for that line alone when it runs: the files may not be there yet.
        }
        lines.push_back({number, job});
    }
    return lines;
}

namespace {

// Runs one job with the worker's office, starting one when it needs one; answers what failed.
std::optional<JobFailure> RunLine(const OfficeStarter& startOffice,
                                  const redline::CompareOptions& settings,
                                  std::unique_ptr<Converter>& session, const CompareJob& job) {
    const OfficeSource office = [&]() -> Converter& {
        if (!session) session = startOffice();
        return *session;
    };
    try {
        RunJob(office, job, settings);
        return std::nullopt;
    } catch (...) {
        JobFailure failure = CurrentFailure(job);
        // The next job gets an office that has not failed.
        if (failure.code == kEngineFailure) session.reset();
        return failure;
    }
}

// Of two exit codes of failed jobs, the one the batch ends with.
ExitCode Graver(ExitCode a, ExitCode b) {
    for (ExitCode code : {kEngineFailure, kResultFailure, kUsage, kBadInput}) {
        if (a == code || b == code) return code;
    }
    return kDone;
}

}  // namespace

BatchOutcome RunBatch(const OfficeStarter& startOffice, const redline::CompareOptions& settings,
                      const std::vector<BatchLine>& lines, int workers, const BatchReport& report) {
    const auto start = std::chrono::steady_clock::now();
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    BatchOutcome outcome;
    auto work = [&] {
        std::unique_ptr<Converter> session;
        for (std::size_t i; (i = next++) < lines.size();) {
            const auto failure = RunLine(startOffice, settings, session, lines[i].job);
            std::lock_guard lock(mutex);
            if (!failure) {
                ++outcome.done;
            } else {
                ++outcome.failed;
                outcome.exitCode = Graver(outcome.exitCode, failure->code);
                if (report.failed) report.failed(lines[i], failure->description);
            }
            if (report.progress) {
                report.progress(outcome.done + outcome.failed, static_cast<int>(lines.size()),
                                outcome.failed);
            }
        }
    };
    std::vector<std::thread> threads;
    const int count = std::max(1, std::min<int>(workers, static_cast<int>(lines.size())));
    for (int w = 0; w < count; ++w) threads.emplace_back(work);
    for (auto& t : threads) t.join();
    outcome.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return outcome;
}
