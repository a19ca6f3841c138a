// quorvane-compare: the comparison engine for scripts. Marks the differences of REVISED against
// ORIGINAL as tracked changes and stores the result, headless; with --batch, many such jobs
// through a few offices.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Arguments.h"
#include "Batch.h"
#include "CompareJob.h"
#include "Console.h"
#include "Converter.h"
#include "HtmlReport.h"
#include "Report.h"
#include "TextDiff.h"
#include "office/loader/DocumentCheck.h"
#include "office/loader/EngineComparison.h"
#include "office/loader/FileSystem.h"
#include "redline/Combine.h"
#include "redline/FilePath.h"

namespace {

// Says what failed on stderr, and with --json also as an object on stdout whose "detail" holds
// what the word processor itself said, for a developer's eyes.
int Failed(const Arguments& args, const std::string& description, const std::string& detail,
           int exitCode) {
    std::cerr << "quorvane-compare: " << description << "\n";
    if (args.json) {
        std::cout << "{\"error\": " << JsonText(description) << ", \"detail\": " << JsonText(detail)
                  << ", \"exit\": " << exitCode << "}\n";
    }
    return exitCode;
}

// The reviewers of combined copies, with their copies; none for a comparison.
std::vector<NamedCopy> Reviewers(const Arguments& args) {
    if (!args.combine) return {};
    std::vector<redline::ReviewedCopy> copies;
    for (std::size_t i = 1; i < args.documents.size(); ++i) {
        copies.push_back({args.documents[i], args.reviewers[i]});
    }
    const std::vector<std::string> names = redline::ReviewerNames(copies);
    std::vector<NamedCopy> named;
    for (std::size_t i = 0; i < copies.size(); ++i) named.push_back({names[i], copies[i].path});
    return named;
}

// Writes the report beside its place and renames it when complete.
void WriteReport(const Arguments& args, std::vector<redline::MarkedStory> stories,
                 const std::vector<redline::Change>& changes, std::map<int, std::string> authors,
                 bool trackedInputs) {
    ReportContent content{{DescribeFile("Original", args.documents[0])},
                          DescribeSettings(args.settings),
                          changes,
                          std::move(stories)};
    content.trackedInputs = trackedInputs;
    if (args.combine) {
        for (const NamedCopy& copy : Reviewers(args)) {
            content.files.push_back(DescribeFile("Copy by " + copy.reviewer, copy.path));
            content.reviewers.push_back(copy.reviewer);
        }
        content.authors = std::move(authors);
    } else {
        content.files.push_back(DescribeFile("Revised", args.documents[1]));
    }
    const std::string partial = args.report + ".part";
    {
        std::ofstream out(redline::FilePath(partial), std::ios::binary);
        WriteHtmlReport(out, content);
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(redline::FilePath(partial), ignored);
            throw office::ResultError("cannot write the report \"" + args.report +
                                      "\": its folder is missing or closed to writing, or the "
                                      "disk is full.");
        }
    }
    if (const auto why = office::ReplaceWith(partial, args.report)) {
        std::error_code ignored;
        std::filesystem::remove(redline::FilePath(partial), ignored);
        throw office::ResultError("cannot store the report as \"" + args.report + "\": " + *why +
                                  ".");
    }
}

// Colour only for a person at a terminal, or at git's pager (`paged`), who has not asked for
// none.
bool Colour(bool paged = false) {
    const char* none = std::getenv("NO_COLOR");
    return (paged || IsColourTerminal(Stream::Out)) && !(none && *none);
}

// git's name for the side of a diff that does not exist; on Windows it may be the device's own.
bool NoSuchSide(const std::string& path) {
#ifdef _WIN32
    std::string lower = path;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "nul") return true;
#endif
    return path == "/dev/null";
}

// As git's diff driver: the word diff under git's own heading, and a problem told in the diff
// rather than by failing, which would stop git at this file.
int GitDiff(const Arguments& args) {
    const std::string& path = args.gitPath;
    std::cout << "diff --git a/" << path << " b/" << path << "\n";
    const bool added = NoSuchSide(args.documents[0]), gone = NoSuchSide(args.documents[1]);
    if (added || gone) {
        std::cout << (added ? "new document\n" : "deleted document\n");
        return kDone;
    }
    try {
        const OfficeSource office = []() -> Converter& {
            throw std::runtime_error("only Word 2007+ documents (.docx) are shown here.");
        };
        RunJob(office, {args.documents[0], args.documents[1], ""}, Settings(args),
               [&](const std::string&, const std::vector<redline::Change>&,
                   redline::MarkedDocument& document) {
                   // git pages its output through a pager that shows colour when it can.
                   PrintWordDiff(std::cout, document.stories,
                                 Colour(std::getenv("GIT_PAGER_IN_USE") != nullptr));
               });
    } catch (...) {
        const JobFailure failure = CurrentFailure({args.documents[0], args.documents[1], ""});
        std::cout << "quorvane-compare: " << failure.description << "\n";
    }
    return kDone;
}

int CompareOne(const Arguments& args) {
    const CompareJob job = JobOf(args);
    try {
        // An office is started only for a job that needs one: .docx documents compare without.
        std::unique_ptr<Converter> converter;
        const OfficeSource office = [&]() -> Converter& {
            if (!converter) converter = StartConverter();
            return *converter;
        };
        std::string diff;
        redline::TrackedInputs tracked;
        // The result is read for reports only when one is asked for.
        const MarkedLook look = [&](const std::string&, const std::vector<redline::Change>& found,
                                    redline::MarkedDocument& document) {
            // Combined copies, and a revised document's own tracked changes kept: each change
            // named with its author, so that those made without tracking stand apart.
            const bool kept = !tracked.revised.empty() && !tracked.accepted;
            auto authors =
                args.combine || kept ? std::move(document.authors) : std::map<int, std::string>();
            if (args.text) {
                std::ostringstream text;
                PrintWordDiff(text, document.stories, Colour(), authors);
                diff = text.str();
            }
            if (!args.report.empty()) {
                WriteReport(args, std::move(document.stories), found, std::move(authors), kept);
            }
        };
        const bool reports = args.text || !args.report.empty();
        const auto changes = RunJob(office, job, Settings(args), reports ? look : MarkedLook(),
                                    args.combine ? nullptr : &tracked);
        std::istringstream held(DescribeTrackedInputs(tracked, job.original, job.revised));
        for (std::string line; std::getline(held, line);) {
            std::cerr << "quorvane-compare: " << line << "\n";
        }
        if (args.text) {
            std::cout << diff;
        } else if (args.json) {
            PrintJson(std::cout, changes, args.output, args.settings, Reviewers(args),
                      args.combine ? nullptr : &tracked);
        } else {
            PrintCounts(std::cout, changes);
        }
        return kDone;
    } catch (...) {
        const JobFailure failure = CurrentFailure(job);
        return Failed(args, failure.description, failure.detail, failure.code);
    }
}

int CompareBatch(const Arguments& args) {
    std::vector<BatchLine> lines;
    try {
        lines = ReadBatchFile(args.batch);
    } catch (const std::exception& e) {
        return Usage(e.what());
    }
    const bool terminal = IsColourTerminal(Stream::Err);
    BatchReport report;
    report.failed = [&](const BatchLine& line, const std::string& description) {
        std::cerr << (terminal ? "\r\033[K" : "") << "quorvane-compare: line " << line.number
                  << " (" << line.job.original << " / " << line.job.revised << "): " << description
                  << "\n";
    };
    if (terminal) {
        report.progress = [](int finished, int total, int failed) {
            std::cerr << "\rcompared " << finished << " of " << total
                      << (failed ? " (" + std::to_string(failed) + " failed)" : std::string())
                      << std::flush;
        };
    }
    const int workers =
        args.jobs ? args.jobs : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    try {
        const BatchOutcome outcome =
            RunBatch([] { return StartConverter(); }, Settings(args), lines, workers, report);
        if (terminal) std::cerr << "\r\033[K";
        char time[32];
        std::snprintf(time, sizeof time, "%.1f", outcome.seconds);
        std::cout << "done: " << outcome.done << ", failed: " << outcome.failed
                  << ", time: " << time << " s\n";
        return outcome.exitCode;
    } catch (const std::exception& e) {
        std::cerr << "quorvane-compare: " << e.what() << "\n";
        return kEngineFailure;
    }
}

int Run(const std::vector<std::string>& argv) {
    PrepareConsole();
    Arguments args;
    if (auto exit = ParseArguments(argv, args)) return *exit;
    if (!args.gitPath.empty()) return GitDiff(args);
    return args.batch.empty() ? CompareOne(args) : CompareBatch(args);
}

}  // namespace

#ifdef _WIN32
// The wide arguments: the narrow ones are in the ANSI code page, which cannot hold every name.
int wmain(int argc, wchar_t* argv[]) {
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) arguments.push_back(redline::Utf8Path(argv[i]));
    return Run(arguments);
}
#else
int main(int argc, char* argv[]) {
    return Run({argv, argv + argc});
}
#endif
