// The module's functions: compare, combine, word_diff and report, with the command line's
// settings as keyword arguments.
#include <algorithm>
#include <sstream>

#include "CompareJob.h"
#include "Definitions.h"
#include "HtmlReport.h"
#include "Jobs.h"
#include "TextDiff.h"
#include "redline/MarkedResult.h"

namespace pymodule {

namespace {

#define QUORVANE_SETTINGS                                                                         \
    py::arg("author") = py::none(), py::arg("formatting") = true, py::arg("ignore_case") = false, \
    py::arg("ignore_whitespace") = false, py::arg("moves") = true,                                \
    py::arg("character_level") = false, py::arg("skip") = std::vector<std::string>(),             \
    py::arg("accept_tracked") = false

const char* const kSettingsDoc = R"(
    author: the name the tracked changes carry (default: your account's name).
    formatting: mark changes of formatting as well as of text.
    ignore_case: take words that differ only in case as equal.
    ignore_whitespace: take spaces, tabs and no-break spaces, and how many, as alike.
    moves: mark a moved paragraph as moved (else deleted and inserted).
    character_level: in a changed word, mark only the characters that changed.
    skip: parts taken from the revised document unmarked: any of "tables", "headers",
        "footers", "footnotes", "endnotes", "textboxes", "comments", "fields".
    accept_tracked: accept the inputs' own tracked changes before comparing, every change then
        under `author` (by default the revised document's stay under their authors).

    Raises FileNotFoundError or IsADirectoryError for an input that is missing or a folder,
    UnreadableDocument for one that cannot be used (damaged, encrypted, not a Word document,
    too large), ResultIsInput when the result would overwrite an input (nothing is written),
    ResultNotWritten when the result cannot be written, OfficeUnavailable when a document in
    another format needs the office and it cannot be used, ComparisonFailed when the comparison
    itself fails, and ValueError for a result in a format that cannot be written, a copy given
    twice, more than 64 copies or more reviewers' names than copies.)";

std::string Doc(const std::string& head) {
    return head + kSettingsDoc;
}

}  // namespace

void DefineCompare(py::module_& m) {
    m.def(
        "compare",
        [](const py::object& original, const py::object& revised, const py::object& result,
           const std::optional<std::string>& author, bool formatting, bool ignoreCase,
           bool ignoreWhitespace, bool moves, bool characterLevel,
           const std::vector<std::string>& skip, bool acceptTracked) {
            const auto options = Settings(author, formatting, ignoreCase, ignoreWhitespace, moves,
                                          characterLevel, skip, acceptTracked);
            const auto stored = OptionalPath(result);
            CompareJob job{PathOf(original), PathOf(revised), stored.value_or("")};
            Result answer{{}, stored};
            answer.changes = Run(job, options, {}, &answer.tracked);
            return answer;
        },
        py::arg("original"), py::arg("revised"), py::arg("result") = py::none(), py::kw_only(),
        QUORVANE_SETTINGS,
        Doc("Marks the differences of `revised` against `original` as tracked changes, stores "
            "the marked-up document at `result` (in the format its extension names: .docx, "
            ".odt, .doc, .pdf) when one is given, and answers a Result with every change.\n")
            .c_str());
}

void DefineCombine(py::module_& m) {
    m.def(
        "combine",
        [](const py::object& original, const std::vector<py::object>& copies,
           const py::object& result, const std::optional<std::vector<std::string>>& reviewers,
           const std::optional<std::string>& author, bool formatting, bool ignoreCase,
           bool ignoreWhitespace, bool moves, bool characterLevel,
           const std::vector<std::string>& skip, bool acceptTracked) {
            if (copies.empty()) throw py::value_error("combine needs at least one copy");
            const auto options = Settings(author, formatting, ignoreCase, ignoreWhitespace, moves,
                                          characterLevel, skip, acceptTracked);
            const auto stored = OptionalPath(result);
            CompareJob job{PathOf(original), PathOf(copies[0]), stored.value_or("")};
            for (const py::object& copy : copies) job.copies.push_back(PathOf(copy));
            // A copy without a name is named by its properties; more names than copies are
            // refused with the command line's words.
            job.reviewers = reviewers.value_or(std::vector<std::string>{});
            job.reviewers.resize(std::max(job.reviewers.size(), copies.size()));
            return Result{Run(job, options), stored};
        },
        py::arg("original"), py::arg("copies"), py::arg("result") = py::none(), py::kw_only(),
        py::arg("reviewers") = py::none(), QUORVANE_SETTINGS,
        Doc("Combines reviewers' copies of `original` into one document in which each copy's "
            "changes are tracked under its reviewer's name (`reviewers`, one a copy, else each "
            "copy's last editor, author or file name); where reviewers changed the same "
            "paragraph apart, each version is kept and the changes name each other in "
            "`conflicts_with`. Stores it at `result` when one is given and answers a Result.\n")
            .c_str());
}

void DefineWordDiff(py::module_& m) {
    m.def(
        "word_diff",
        [](const py::object& original, const py::object& revised,
           const std::optional<std::string>& author, bool formatting, bool ignoreCase,
           bool ignoreWhitespace, bool moves, bool characterLevel,
           const std::vector<std::string>& skip, bool acceptTracked) {
            const auto options = Settings(author, formatting, ignoreCase, ignoreWhitespace, moves,
                                          characterLevel, skip, acceptTracked);
            std::string diff;
            Run({PathOf(original), PathOf(revised), ""}, options,
                [&](const std::string&, const std::vector<redline::Change>&,
                    redline::MarkedDocument& document) {
                    std::ostringstream out;
                    PrintWordDiff(out, document.stories, false);
                    diff = out.str();
                });
            return diff;
        },
        py::arg("original"), py::arg("revised"), py::kw_only(), QUORVANE_SETTINGS,
        Doc("The changes of `revised` against `original` as the command line's --text gives "
            "them, without colour: deletions as [-...-], insertions as {+...+}.\n")
            .c_str());
}

void DefineReport(py::module_& m) {
    m.def(
        "report",
        [](const py::object& original, const py::object& revised, const py::object& page,
           const py::object& result, const std::optional<std::string>& author, bool formatting,
           bool ignoreCase, bool ignoreWhitespace, bool moves, bool characterLevel,
           const std::vector<std::string>& skip, bool acceptTracked) {
            const auto options = Settings(author, formatting, ignoreCase, ignoreWhitespace, moves,
                                          characterLevel, skip, acceptTracked);
            const std::string where = PathOf(page);
            const auto stored = OptionalPath(result);
            CompareJob job{PathOf(original), PathOf(revised), stored.value_or("")};
            job.report = where;
            const auto changes =
                Run(job, options,
                    [&](const std::string&, const std::vector<redline::Change>& found,
                        redline::MarkedDocument& document) {
                        WriteReport(where, {{DescribeFile("Original", job.original),
                                             DescribeFile("Revised", job.revised)},
                                            DescribeSettings(options),
                                            found,
                                            std::move(document.stories)});
                    });
            return Result{changes, stored};
        },
        py::arg("original"), py::arg("revised"), py::arg("page"), py::arg("result") = py::none(),
        py::kw_only(), QUORVANE_SETTINGS,
        Doc("Writes the command line's --report of the changes of `revised` against `original`: "
            "one HTML page at `page` to read in any browser. Answers a Result.\n")
            .c_str());
}

}  // namespace pymodule
