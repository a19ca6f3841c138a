#include "Arguments.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "CompareJob.h"
#include "Converter.h"
#include "Report.h"
#include "app/Product.h"
#include "office/loader/ComparisonSession.h"
#include "redline/Combine.h"

namespace {

const char* kUsageTemplate =
    "Usage: quorvane-compare ORIGINAL REVISED -o RESULT [--author NAME] [--json] [SETTINGS]\n"
    "       quorvane-compare ORIGINAL REVISED --text [-o RESULT] [SETTINGS]\n"
    "       quorvane-compare ORIGINAL REVISED --report PAGE.html [-o RESULT] [SETTINGS]\n"
    "       quorvane-compare --combine ORIGINAL [--reviewer NAME] REVISED... -o RESULT\n"
    "                        [--json | --text] [--report PAGE.html] [SETTINGS]\n"
    "       quorvane-compare --batch FILE [-j N] [--author NAME] [SETTINGS]\n"
    "       quorvane-compare [SETTINGS] --git-diff PATH OLD HEX MODE NEW HEX MODE\n"
    "\n"
    "Marks the differences of REVISED against ORIGINAL as tracked changes (insertions,\n"
    "deletions, moves and formatting changes) and stores the result in RESULT, in the format\n"
    "its extension names: .docx, .odt, .doc or .pdf. Neither input changes, and a RESULT\n"
    "that is one of the inputs (under any name or link) is refused. Word 2007+\n"
    "documents (.docx) compare without a word processor; other formats, and results that are\n"
    "not .docx, need %s. Prints the number of changes of each kind.\n"
    "\n"
    "Options:\n"
    "  -o, --output RESULT  where to store the marked-up result (required unless --text or\n"
    "                       --report is given)\n"
    "  --author NAME        the name the tracked changes carry (default: your account's name)\n"
    "  --json               print the numbers and every change (kind; part: body, table,\n"
    "                       header, footer, footnote, endnote, text box or section; text;\n"
    "                       paragraph; for a move both places; combined, its reviewers and\n"
    "                       conflicts), or what failed, as one JSON object\n"
    "  --text               print the changes as a word diff: each changed paragraph under a\n"
    "                       line naming its part and number, deletions as [-...-] and\n"
    "                       insertions as {+...+}, moves and formatting changes named; in\n"
    "                       colour on a terminal unless NO_COLOR is set\n"
    "  --report PAGE.html   write a report to read in any browser: the files, the settings,\n"
    "                       the changes counted and listed, and the document with each change\n"
    "                       shown in place\n"
    "  --combine            combine reviewers' copies of ORIGINAL: every copy's changes in one\n"
    "                       RESULT, each under its reviewer's name; where reviewers changed the\n"
    "                       same paragraph apart, each one's version is kept and the changes are\n"
    "                       said to conflict (--json: \"conflicts_with\")\n"
    "  --reviewer NAME      with --combine, the name the next copy's changes carry (default:\n"
    "                       the copy's last editor in its properties, else its author, else its\n"
    "                       file name)\n"
    "  --batch FILE         run every job in FILE, one a line: ORIGINAL, REVISED and RESULT\n"
    "                       separated by tabs (ORIGINAL, several copies and RESULT: combined);\n"
    "                       blank lines and lines starting with # are skipped\n"
    "  --git-diff ...       git's diff driver: the word diff of the two files git names\n"
    "                       (see the README for the two lines that set it up)\n"
    "  -j, --jobs N         with --batch, run N offices side by side (default: one per core)\n"
    "  --help               show this text\n"
    "  --version            show the version\n"
    "\n"
    "Settings (each leaves something out; rejecting every change then gives the original\n"
    "except for it, and accepting every change always gives REVISED):\n"
    "  --no-formatting      mark changes of text only, not of formatting\n"
    "  --ignore-case        take words that differ only in case as equal\n"
    "  --ignore-whitespace  take spaces, tabs and no-break spaces, and how many, as alike\n"
    "  --no-moves           mark a moved paragraph as deleted and inserted\n"
    "  --character-level    in a changed word, mark only the characters that changed\n"
    "  --accept-tracked     accept the inputs' own tracked changes before comparing, every\n"
    "                       change then under the comparing author (by default the revised\n"
    "                       document's stay in the result under their authors)\n"
    "  --skip LIST          leave parts alone, taken unmarked from REVISED; any of tables,\n"
    "                       headers, footers, footnotes, endnotes, textboxes, comments,\n"
    "                       fields, separated by commas (a skipped table's paragraphs are\n"
    "                       still compared, as plain paragraphs; skipped comments are the\n"
    "                       revised document's, unmarked, the original's left out)\n"
    "\n"
    "Exit codes: 0 done; 1 the word processor failed; 2 wrong usage, or a RESULT that is one\n"
    "of the inputs; 3 an input document cannot be used (missing, a folder, empty, not a Word\n"
    "document, damaged, password protected); 4 the result cannot be written (its folder is\n"
    "missing or not writable, or the disk is full). With --batch, 0 only when every job\n"
    "succeeded; a failed job is named and the others go on, and the code is that of the\n"
    "failures, the first of 1, 4, 2 and 3 that any job met.\n";

// The usage text, naming the office that converts on this platform.
std::string UsageText() {
    std::string text = kUsageTemplate;
    return text.replace(text.find("%s"), 2, kConverterName);
}

}  // namespace

int Usage(const std::string& problem) {
    std::cerr << "quorvane-compare: " << problem << "\n\n" << UsageText();
    return kUsage;
}

namespace {

// Sets the option `arg` that takes no value; answers whether it was one.
bool SetFlag(const std::string& arg, Arguments& args) {
    const std::pair<const char*, bool*> flags[] = {
        {"--ignore-case", &args.settings.ignoreCase},
        {"--ignore-whitespace", &args.settings.ignoreWhitespace},
        {"--character-level", &args.settings.characterLevel},
        {"--accept-tracked", &args.settings.acceptTracked},
        {"--text", &args.text},
        {"--json", &args.json},
        {"--combine", &args.combine},
    };
    const std::pair<const char*, bool*> noFlags[] = {
        {"--no-formatting", &args.settings.formatting},
        {"--no-moves", &args.settings.moves},
    };
    for (const auto& [name, flag] : flags) {
        if (arg == name) {
            *flag = true;
            return true;
        }
    }
    for (const auto& [name, flag] : noFlags) {
        if (arg == name) {
            *flag = false;
            return true;
        }
    }
    return false;
}

// Whether the arguments go together; answers an exit code when they do not.
std::optional<int> CheckArguments(const Arguments& args) {
    const bool named = std::any_of(args.reviewers.begin(), args.reviewers.end(),
                                   [](const std::string& name) { return !name.empty(); });
    if (named && !args.combine) return Usage("--reviewer goes with --combine.");
    if (!args.batch.empty()) {
        if (!args.documents.empty() || !args.output.empty() || args.json || args.text ||
            !args.report.empty()) {
            return Usage(
                "--batch takes its documents from the file, and no -o, --json, --text or "
                "--report.");
        }
        return std::nullopt;
    }
    if (args.combine) {
        if (args.documents.size() < 2) {
            return Usage("--combine needs the original and at least one reviewer's copy.");
        }
    } else if (args.documents.size() != 2) {
        return Usage("give exactly two documents, ORIGINAL and REVISED.");
    }
    if (args.json && args.text) return Usage("--json and --text both print; give one of them.");
    if (args.output.empty() && !args.text && args.report.empty()) {
        return Usage("give the result file with -o RESULT (or ask for --text or --report).");
    }
    if (!args.report.empty() && LowerExtension(args.report) != ".html" &&
        LowerExtension(args.report) != ".htm") {
        return Usage("the report must end in .html.");
    }
    try {
        CheckJob(JobOf(args));  // what the module refuses too, in the same words
    } catch (const JobRefused& e) {
        return Usage(e.what());
    } catch (const ResultIsInput&) {
        // Refused by the run, which tells a --json reader too.
    }
    return std::nullopt;
}

}  // namespace

// Where the value of an option that takes one goes; nullptr for any other option.
std::string* ValueOf(const std::string& arg, Arguments& args) {
    if (arg == "-o" || arg == "--output") return &args.output;
    if (arg == "--author") return &args.author;
    if (arg == "--batch") return &args.batch;
    return arg == "--report" ? &args.report : nullptr;
}

// git's diff driver gives PATH OLD-FILE OLD-HEX OLD-MODE NEW-FILE NEW-HEX NEW-MODE after the
// option at `at`, and for a rename two more.
std::optional<int> GitDiffArguments(const std::vector<std::string>& argv, int at, Arguments& args) {
    if (static_cast<int>(argv.size()) - at - 1 < 7) {
        return Usage("--git-diff takes the seven arguments git gives.");
    }
    args.gitPath = argv[at + 1];
    args.documents = {argv[at + 2], argv[at + 5]};
    args.text = true;
    return std::nullopt;
}

// --skip's list of parts; answers the exit code of a list it cannot take.
std::optional<int> ParseSkip(const std::optional<std::string>& given, Arguments& args) {
    if (!given) return Usage("--skip needs a list of parts.");
    std::stringstream list(*given);
    for (std::string part; std::getline(list, part, ',');) {
        if (!SkipPart(part, args.settings.skip)) {
            return Usage("--skip does not know \"" + part + "\".");
        }
    }
    return std::nullopt;
}

std::optional<int> ParseArguments(const std::vector<std::string>& argv, Arguments& args) {
    const int argc = static_cast<int>(argv.size());
    std::optional<std::string> reviewer;  // for the next document
    auto document = [&](const std::string& path) {
        args.reviewers.push_back(reviewer.value_or(""));
        args.documents.push_back(path);
        reviewer.reset();
    };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= argc) return std::nullopt;
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::cout << UsageText();
            return kDone;
        } else if (arg == "--version") {
            std::cout << "quorvane-compare " << kVersionText << "\n";
            return kDone;
        } else if (std::string* into = ValueOf(arg, args)) {
            const auto given = value();
            if (!given) return Usage(arg + " needs a value.");
            *into = *given;
        } else if (arg == "--reviewer") {
            reviewer = value();
            if (!reviewer) return Usage("--reviewer needs a name.");
            if (args.documents.empty()) {
                return Usage("--reviewer names the copy after it, not the original.");
            }
        } else if (arg == "--skip") {
            if (const auto failed = ParseSkip(value(), args)) return failed;
        } else if (SetFlag(arg, args)) {
            continue;
        } else if (arg == "-j" || arg == "--jobs") {
            const auto given = value();
            args.jobs = given ? std::atoi(given->c_str()) : 0;
            if (args.jobs < 1 || args.jobs > 64)
                return Usage(arg + " needs a number from 1 to 64.");
        } else if (arg == "--git-diff") {
            return GitDiffArguments(argv, i, args);
        } else if (arg == "--") {
            for (++i; i < argc; ++i) document(argv[i]);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage("unknown option " + arg + ".");
        } else {
            document(arg);
        }
    }
    if (reviewer) return Usage("--reviewer " + *reviewer + " names no copy after it.");
    return CheckArguments(args);
}

CompareJob JobOf(const Arguments& args) {
    CompareJob job{args.documents[0], args.documents[1], args.output};
    job.report = args.report;
    if (args.combine) {
        job.copies.assign(args.documents.begin() + 1, args.documents.end());
        job.reviewers.assign(args.reviewers.begin() + 1, args.reviewers.end());
    }
    return job;
}

redline::CompareOptions Settings(const Arguments& args) {
    redline::CompareOptions settings = args.settings;
    settings.author = args.author.empty() ? office::DefaultAuthor() : args.author;
    return settings;
}
