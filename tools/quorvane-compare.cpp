// quorvane-compare: the comparison engine for scripts. Marks the differences of REVISED against
// ORIGINAL as tracked changes and stores the result, headless; with --batch, many such jobs
// through a few offices.
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Batch.h"
#include "CompareJob.h"
#include "Report.h"
#include "app/Product.h"
#include "office/loader/DocumentCheck.h"
#include "office/loader/OfficeEngine.h"

namespace {

const char* kUsageText =
    "Usage: quorvane-compare ORIGINAL REVISED -o RESULT [--author NAME] [--json]\n"
    "       quorvane-compare --batch FILE [-j N] [--author NAME]\n"
    "\n"
    "Marks the differences of REVISED against ORIGINAL as tracked changes (insertions,\n"
    "deletions, moves and formatting changes) and stores the result in RESULT, in the format\n"
    "its extension names: .docx, .odt, .doc or .pdf. Neither input changes, and a RESULT\n"
    "that is one of the inputs (under any name or link) is refused. Word 2007+\n"
    "documents (.docx) compare without a word processor; other formats, and results that are\n"
    "not .docx, need LibreOffice Writer. Prints the number of changes of each kind.\n"
    "\n"
    "Options:\n"
    "  -o, --output RESULT  where to store the marked-up result (required)\n"
    "  --author NAME        the name the tracked changes carry (default: your account's name)\n"
    "  --json               print the numbers and every change (kind; part: body, table,\n"
    "                       header, footer, footnote, endnote or text box; text; paragraph;\n"
    "                       for a move both places), or what failed, as one JSON object\n"
    "  --batch FILE         run every job in FILE, one a line: ORIGINAL, REVISED and RESULT\n"
    "                       separated by tabs; blank lines and lines starting with # are skipped\n"
    "  -j, --jobs N         with --batch, run N offices side by side (default: one per core)\n"
    "  --help               show this text\n"
    "  --version            show the version\n"
    "\n"
    "Exit codes: 0 done; 1 the word processor failed; 2 wrong usage, or a RESULT that is one\n"
    "of the inputs; 3 an input document cannot be used (missing, a folder, empty, not a Word\n"
    "document, damaged, password protected); 4 the result cannot be written (its folder is\n"
    "missing or not writable, or the disk is full). With --batch, 0 only when every job\n"
    "succeeded; a failed job is named and the others go on, and the code is that of the\n"
    "failures, the first of 1, 4, 2 and 3 that any job met.\n";

struct Arguments {
    std::vector<std::string> documents;
    std::string output, author, batch;
    int jobs = 0;
    bool json = false;
};

int Usage(const std::string& problem) {
    std::cerr << "quorvane-compare: " << problem << "\n\n" << kUsageText;
    return kUsage;
}

// Parses the command line; answers an exit code when the program should end at once.
std::optional<int> Parse(int argc, char* argv[], Arguments& args) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= argc) return std::nullopt;
            return std::string(argv[++i]);
        };
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsageText;
            return kDone;
        } else if (arg == "--version") {
            std::cout << "quorvane-compare " << kVersionText << "\n";
            return kDone;
        } else if (arg == "-o" || arg == "--output" || arg == "--author" || arg == "--batch") {
            const auto given = value();
            if (!given) return Usage(arg + " needs a value.");
            (arg == "--author"  ? args.author
             : arg == "--batch" ? args.batch
                                : args.output) = *given;
        } else if (arg == "-j" || arg == "--jobs") {
            const auto given = value();
            args.jobs = given ? std::atoi(given->c_str()) : 0;
            if (args.jobs < 1 || args.jobs > 64)
                return Usage(arg + " needs a number from 1 to 64.");
        } else if (arg == "--json") {
            args.json = true;
        } else if (arg == "--") {
            for (++i; i < argc; ++i) args.documents.push_back(argv[i]);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage("unknown option " + arg + ".");
        } else {
            args.documents.push_back(arg);
        }
    }
    if (!args.batch.empty()) {
        if (!args.documents.empty() || !args.output.empty() || args.json) {
            return Usage("--batch takes its documents from the file, and no -o or --json.");
        }
        return std::nullopt;
    }
    if (args.documents.size() != 2)
        return Usage("give exactly two documents, ORIGINAL and REVISED.");
    if (args.output.empty()) return Usage("give the result file with -o RESULT.");
    if (ExportFilter(args.output).empty()) {
        return Usage("the result must end in .docx, .odt, .doc or .pdf.");
    }
    return std::nullopt;
}

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

office::SessionOptions Headless(const Arguments& args) {
    office::SessionOptions options;
    options.headless = true;
    options.author = args.author;
    return options;
}

std::string Author(const Arguments& args) {
    return args.author.empty() ? office::DefaultAuthor() : args.author;
}

// An office is started only for a job that needs one: Word 2007+ documents compare without.
std::unique_ptr<office::ComparisonSession> StartOffice(const Arguments& args) {
    return office::LoadOfficeEngine(office::ProgramFolder()).startSession(Headless(args));
}

int CompareOne(const Arguments& args) {
    const CompareJob job{args.documents[0], args.documents[1], args.output};
    try {
        std::unique_ptr<office::ComparisonSession> session;
        const OfficeSource office = [&]() -> office::ComparisonSession& {
            if (!session) session = StartOffice(args);
            return *session;
        };
        const auto changes = RunJob(office, job, Author(args));
        if (args.json) {
            PrintJson(std::cout, changes, args.output);
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
    const bool terminal = isatty(STDERR_FILENO);
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
            RunBatch([&] { return StartOffice(args); }, Author(args), lines, workers, report);
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

}  // namespace

int main(int argc, char* argv[]) {
    Arguments args;
    if (auto exit = Parse(argc, argv, args)) return *exit;
    return args.batch.empty() ? CompareOne(args) : CompareBatch(args);
}
