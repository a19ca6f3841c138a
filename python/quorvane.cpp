// The `quorvane` Python module: compare two documents, combine reviewers' copies, read the changes
// as a word diff or a report, as quorvane-compare does, with its settings as keyword arguments
// and its failures as Python exceptions. Word 2007+ documents need no office; other formats go
// through one private office, started at the first need and ended when the interpreter exits.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <stdexcept>

#include "CompareJob.h"
#include "Converter.h"
#include "HtmlReport.h"
#include "Report.h"
#include "TextDiff.h"
#include "office/loader/ComparisonSession.h"
#include "office/loader/DocumentCheck.h"
#include "office/loader/EngineComparison.h"
#include "office/loader/FileSystem.h"
#include "office/loader/OfficeEngine.h"
#include "redline/Combine.h"
#include "redline/FilePath.h"
#include "redline/MarkedResult.h"

namespace py = pybind11;

namespace {

// The exception types the module adds, made when it is imported.
struct Errors {
    PyObject* unreadable = nullptr;         // ValueError
    PyObject* resultIsInput = nullptr;      // ValueError
    PyObject* resultNotWritten = nullptr;   // OSError
    PyObject* officeUnavailable = nullptr;  // RuntimeError
};
Errors errors;

// The one office of the process, used by one caller at a time.
class SharedOffice : public Converter {
  public:
    void toDocx(const std::string& path, const std::string& docxPath) override {
        std::lock_guard lock(mutex_);
        started().toDocx(path, docxPath);
    }
    void fromDocx(const std::string& docxPath, const std::string& path) override {
        std::lock_guard lock(mutex_);
        started().fromDocx(docxPath, path);
    }
    void end() {
        std::lock_guard lock(mutex_);
        office_.reset();
    }

  private:
    Converter& started() {
        if (!office_) {
            // Given, else this build's, else the installed program's.
            const char* given = std::getenv("QUORVANE_ENGINE_DIR");
            std::string folder = given && *given ? given : QUORVANE_ENGINE_DIR;
            std::error_code error;
            if (!(given && *given) &&
                !std::filesystem::exists(folder + "/" + office::kEngineModuleFile, error)) {
                folder = QUORVANE_INSTALLED_ENGINE_DIR;
            }
            office_ = StartConverter(folder);
        }
        return *office_;
    }

    std::mutex mutex_;
    std::unique_ptr<Converter> office_;
};
SharedOffice* shared = new SharedOffice;  // ended by the interpreter's exit, never destroyed

const OfficeSource kOffice = []() -> Converter& { return *shared; };

// A path as Python gives one: str or os.PathLike.
std::string PathOf(const py::handle& path) {
    return py::str(py::module_::import("os").attr("fspath")(path)).cast<std::string>();
}

std::optional<std::string> OptionalPath(const py::object& path) {
    if (path.is_none()) return std::nullopt;
    return PathOf(path);
}

redline::CompareOptions Settings(const std::optional<std::string>& author, bool formatting,
                                 bool ignoreCase, bool ignoreWhitespace, bool moves,
                                 bool characterLevel, const std::vector<std::string>& skip) {
    redline::CompareOptions options;
    options.author = author ? *author : office::DefaultAuthor();
    options.formatting = formatting;
    options.ignoreCase = ignoreCase;
    options.ignoreWhitespace = ignoreWhitespace;
    options.moves = moves;
    options.characterLevel = characterLevel;
    for (const std::string& part : skip) {
        if (!SkipPart(part, options.skip)) {
            throw py::value_error("skip does not know \"" + part +
                                  "\" (tables, headers, footers, footnotes, endnotes, textboxes, "
                                  "comments, fields)");
        }
    }
    return options;
}

// Raises the Python exception for the failure being handled, with the command line's message.
[[noreturn]] void RaiseFailure(const CompareJob& job) {
    const JobFailure failure = CurrentFailure(job);
    try {
        throw;
    } catch (const office::DocumentError& e) {
        const std::string& file = e.path();
        if (e.problem() == office::DocumentProblem::NotFound ||
            e.problem() == office::DocumentProblem::Folder) {
            const bool folder = e.problem() == office::DocumentProblem::Folder;
            PyErr_SetObject(
                folder ? PyExc_IsADirectoryError : PyExc_FileNotFoundError,
                py::make_tuple(folder ? EISDIR : ENOENT, failure.description, file).ptr());
            throw py::error_already_set();
        }
        py::object error =
            py::reinterpret_borrow<py::object>(errors.unreadable)(failure.description);
        error.attr("filename") = file;
        PyErr_SetObject(errors.unreadable, error.ptr());
        throw py::error_already_set();
    } catch (const py::error_already_set&) {
        throw;
    } catch (const std::invalid_argument& e) {
        throw py::value_error(e.what());
    } catch (...) {
    }
    PyObject* type = failure.code == kUsage           ? errors.resultIsInput
                     : failure.code == kResultFailure ? errors.resultNotWritten
                     : failure.code == kBadInput      ? errors.unreadable
                                                      : errors.officeUnavailable;
    PyErr_SetString(type, failure.description.c_str());
    throw py::error_already_set();
}

// Runs the job without the interpreter's lock, so that threads compare side by side.
std::vector<redline::Change> Run(const CompareJob& job, const redline::CompareOptions& options,
                                 const MarkedLook& look = {}) {
    try {
        py::gil_scoped_release unlocked;
        return RunJob(kOffice, job, options, look);
    } catch (...) {
        RaiseFailure(job);
    }
}

struct Result {
    std::vector<redline::Change> changes;
    std::optional<std::string> result;
};

py::dict Counts(const std::vector<redline::Change>& changes) {
    const redline::ChangeCounts counts = redline::Count(changes);
    py::dict out;
    out["insertion"] = counts.insertions;
    out["deletion"] = counts.deletions;
    out["move"] = counts.moves;
    out["formatting"] = counts.formatting;
    return out;
}

// The report written beside its place and renamed when complete, as the command line does.
void WriteReport(const std::string& page, ReportContent content) {
    const std::string partial = page + ".part";
    std::ofstream out(redline::FilePath(partial), std::ios::binary);
    WriteHtmlReport(out, content);
    out.close();
    std::optional<std::string> why;
    if (!out) why = "its folder is missing or closed to writing, or the disk is full";
    if (!why) why = office::ReplaceWith(partial, page);
    if (why) {
        std::error_code ignored;
        std::filesystem::remove(redline::FilePath(partial), ignored);
        throw office::ResultError("cannot write the report \"" + page + "\": " + *why + ".");
    }
}

#define QUORVANE_SETTINGS                                                                         \
    py::arg("author") = py::none(), py::arg("formatting") = true, py::arg("ignore_case") = false, \
    py::arg("ignore_whitespace") = false, py::arg("moves") = true,                                \
    py::arg("character_level") = false, py::arg("skip") = std::vector<std::string>()

const char* const kSettingsDoc = R"(
    author: the name the tracked changes carry (default: your account's name).
    formatting: mark changes of formatting as well as of text.
    ignore_case: take words that differ only in case as equal.
    ignore_whitespace: take spaces, tabs and no-break spaces, and how many, as alike.
    moves: mark a moved paragraph as moved (else deleted and inserted).
    character_level: in a changed word, mark only the characters that changed.
    skip: parts taken from the revised document unmarked: any of "tables", "headers",
        "footers", "footnotes", "endnotes", "textboxes", "comments", "fields".

    Raises FileNotFoundError or IsADirectoryError for an input that is missing or a folder,
    UnreadableDocument for one that cannot be used (damaged, encrypted, not a Word document,
    too large), ResultIsInput when the result would overwrite an input (nothing is written),
    ResultNotWritten when the result cannot be written, OfficeUnavailable when a document in
    another format needs the office and it cannot be used.)";

std::string Doc(const std::string& head) {
    return head + kSettingsDoc;
}

}  // namespace

PYBIND11_MODULE(quorvane, m) {
    m.doc() =
        "Compares Word documents and combines reviewers' copies, marking every difference as a "
        "tracked change, without an office for Word 2007+ documents.";
    auto exception = [&](const char* name, PyObject* base, const char* doc) {
        PyObject* type = PyErr_NewExceptionWithDoc((std::string("quorvane.") + name).c_str(), doc,
                                                   base, nullptr);
        m.add_object(name, py::handle(type));
        return type;
    };
    errors.unreadable = exception(
        "UnreadableDocument", PyExc_ValueError,
        "A document that cannot be used: damaged, encrypted, not a Word document, too large. "
        "Its filename attribute names it.");
    errors.resultIsInput =
        exception("ResultIsInput", PyExc_ValueError,
                  "The result would overwrite one of the inputs; nothing was written.");
    errors.resultNotWritten = exception(
        "ResultNotWritten", PyExc_OSError,
        "The result cannot be written: its folder is missing or closed, or the disk is full.");
    errors.officeUnavailable = exception(
        "OfficeUnavailable", PyExc_RuntimeError,
        "A document in another format needs the office, and it cannot be started or failed.");

    py::class_<redline::Change>(m, "Change", "One change the comparison found.")
        .def_property_readonly(
            "kind", [](const redline::Change& c) { return redline::KindName(c.kind); },
            "\"insertion\", \"deletion\", \"move\" or \"formatting\"")
        .def_property_readonly(
            "part", [](const redline::Change& c) { return redline::PartName(c.part); },
            "\"body\", \"table\", \"header\", \"footer\", \"footnote\", \"endnote\", "
            "\"text box\", \"section\" or \"comment\"")
        .def_readonly("text", &redline::Change::text, "the text it covers")
        .def_property_readonly(
            "paragraph",
            [](const redline::Change& c) -> std::optional<std::uint32_t> {
                if (c.kind == redline::ChangeKind::Move) return std::nullopt;
                return c.kind == redline::ChangeKind::Deletion ? c.originalParagraph
                                                               : c.revisedParagraph;
            },
            "the paragraph it stands in, counted from 1 in its part (the original's for a "
            "deletion); None for a move")
        .def_property_readonly(
            "from_paragraph",
            [](const redline::Change& c) -> std::optional<std::uint32_t> {
                if (c.kind != redline::ChangeKind::Move) return std::nullopt;
                return c.originalParagraph;
            },
            "for a move, where it was in the original")
        .def_property_readonly(
            "to_paragraph",
            [](const redline::Change& c) -> std::optional<std::uint32_t> {
                if (c.kind != redline::ChangeKind::Move) return std::nullopt;
                return c.revisedParagraph;
            },
            "for a move, where it is in the revised document")
        .def_property_readonly(
            "author",
            [](const redline::Change& c) -> std::optional<std::string> {
                if (c.author.empty()) return std::nullopt;
                return c.author;
            },
            "in a comment: the comment's author")
        .def_readonly("reviewers", &redline::Change::reviewers,
                      "combined copies: who made it (more than one when they made it alike)")
        .def_readonly("conflicts_with", &redline::Change::conflictsWith,
                      "combined copies: the numbers (from 1, in the list) of the changes "
                      "another reviewer made to the same paragraph")
        .def("__repr__", [](const redline::Change& c) {
            return std::string("<quorvane.Change ") + redline::KindName(c.kind) + " in the " +
                   redline::PartName(c.part) + ": " +
                   py::repr(py::str(c.text)).cast<std::string>() + ">";
        });

    py::class_<Result>(m, "Result", "What a comparison or a combining found.")
        .def_readonly("changes", &Result::changes, "every change, in reading order")
        .def_property_readonly(
            "counts", [](const Result& r) { return Counts(r.changes); },
            "the changes counted by kind: insertion, deletion, move, formatting")
        .def_readonly("result", &Result::result, "where the marked-up document was stored, or None")
        .def("__repr__", [](const Result& r) {
            const redline::ChangeCounts c = redline::Count(r.changes);
            std::ostringstream out;
            out << "<quorvane.Result " << c.insertions << " insertions, " << c.deletions
                << " deletions, " << c.moves << " moves, " << c.formatting << " formatting>";
            return out.str();
        });

    m.def(
        "compare",
        [](const py::object& original, const py::object& revised, const py::object& result,
           const std::optional<std::string>& author, bool formatting, bool ignoreCase,
           bool ignoreWhitespace, bool moves, bool characterLevel,
           const std::vector<std::string>& skip) {
            const auto options = Settings(author, formatting, ignoreCase, ignoreWhitespace, moves,
                                          characterLevel, skip);
            const auto stored = OptionalPath(result);
            CompareJob job{PathOf(original), PathOf(revised), stored.value_or("")};
            return Result{Run(job, options), stored};
        },
        py::arg("original"), py::arg("revised"), py::arg("result") = py::none(), py::kw_only(),
        QUORVANE_SETTINGS,
        Doc("Marks the differences of `revised` against `original` as tracked changes, stores "
            "the marked-up document at `result` (in the format its extension names: .docx, "
            ".odt, .doc, .pdf) when one is given, and answers a Result with every change.\n")
            .c_str());

    m.def(
        "combine",
        [](const py::object& original, const std::vector<py::object>& copies,
           const py::object& result, const std::optional<std::vector<std::string>>& reviewers,
           const std::optional<std::string>& author, bool formatting, bool ignoreCase,
           bool ignoreWhitespace, bool moves, bool characterLevel,
           const std::vector<std::string>& skip) {
            if (copies.empty()) throw py::value_error("combine needs at least one copy");
            if (reviewers && reviewers->size() > copies.size()) {
                throw py::value_error("more reviewers than copies");
            }
            const auto options = Settings(author, formatting, ignoreCase, ignoreWhitespace, moves,
                                          characterLevel, skip);
            const auto stored = OptionalPath(result);
            CompareJob job{PathOf(original), PathOf(copies[0]), stored.value_or("")};
            for (std::size_t i = 0; i < copies.size(); ++i) {
                job.copies.push_back(PathOf(copies[i]));
                job.reviewers.push_back(reviewers && i < reviewers->size() ? (*reviewers)[i] : "");
                for (std::size_t j = 0; j < i; ++j) {
                    if (SameFile(job.copies[j], job.copies[i])) {
                        throw py::value_error("the copies \"" + job.copies[j] + "\" and \"" +
                                              job.copies[i] + "\" are one file");
                    }
                }
            }
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

    m.def(
        "word_diff",
        [](const py::object& original, const py::object& revised,
           const std::optional<std::string>& author, bool formatting, bool ignoreCase,
           bool ignoreWhitespace, bool moves, bool characterLevel,
           const std::vector<std::string>& skip) {
            const auto options = Settings(author, formatting, ignoreCase, ignoreWhitespace, moves,
                                          characterLevel, skip);
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

    m.def(
        "report",
        [](const py::object& original, const py::object& revised, const py::object& page,
           const py::object& result, const std::optional<std::string>& author, bool formatting,
           bool ignoreCase, bool ignoreWhitespace, bool moves, bool characterLevel,
           const std::vector<std::string>& skip) {
            const auto options = Settings(author, formatting, ignoreCase, ignoreWhitespace, moves,
                                          characterLevel, skip);
            const std::string where = PathOf(page);
            const auto stored = OptionalPath(result);
            CompareJob job{PathOf(original), PathOf(revised), stored.value_or("")};
            for (const std::string& input : {job.original, job.revised}) {
                if (SameFile(where, input)) {
                    PyErr_SetString(errors.resultIsInput,
                                    ("the report \"" + where + "\" would overwrite \"" + input +
                                     "\"; give it another name.")
                                        .c_str());
                    throw py::error_already_set();
                }
            }
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

    // The office, if one was started, ends with the interpreter.
    py::module_::import("atexit").attr("register")(py::cpp_function([] { shared->end(); }));
}
