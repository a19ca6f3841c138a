#include "Jobs.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>

#include "Converter.h"
#include "HtmlReport.h"
#include "office/loader/DocumentCheck.h"
#include "office/loader/EngineComparison.h"
#include "office/loader/FileSystem.h"
#include "office/loader/OfficeEngine.h"
#include "redline/FilePath.h"

namespace pymodule {

Errors errors;

namespace {

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

}  // namespace

void EndOffice() {
    shared->end();
}

std::string PathOf(const py::handle& path) {
    return py::str(py::module_::import("os").attr("fspath")(path)).cast<std::string>();
}

std::optional<std::string> OptionalPath(const py::object& path) {
    if (path.is_none()) return std::nullopt;
    return PathOf(path);
}

redline::CompareOptions Settings(const std::optional<std::string>& author, bool formatting,
                                 bool ignoreCase, bool ignoreWhitespace, bool moves,
                                 bool characterLevel, const std::vector<std::string>& skip,
                                 bool acceptTracked) {
    redline::CompareOptions options;
    options.author = author ? *author : office::DefaultAuthor();
    options.formatting = formatting;
    options.ignoreCase = ignoreCase;
    options.ignoreWhitespace = ignoreWhitespace;
    options.moves = moves;
    options.characterLevel = characterLevel;
    options.acceptTracked = acceptTracked;
    for (const std::string& part : skip) {
        if (!SkipPart(part, options.skip)) {
            throw py::value_error("skip does not know \"" + part +
                                  "\" (tables, headers, footers, footnotes, endnotes, textboxes, "
                                  "comments, fields)");
        }
    }
    return options;
}

namespace {

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
    } catch (const office::ComparisonError&) {
        PyErr_SetString(errors.comparisonFailed, failure.description.c_str());
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

}  // namespace

std::vector<redline::Change> Run(const CompareJob& job, const redline::CompareOptions& options,
                                 const MarkedLook& look, redline::TrackedInputs* tracked) {
    try {
        py::gil_scoped_release unlocked;
        return RunJob(kOffice, job, options, look, tracked);
    } catch (...) {
        RaiseFailure(job);
    }
}

py::dict Counts(const std::vector<redline::Change>& changes) {
    const redline::ChangeCounts counts = redline::Count(changes);
    py::dict out;
    out["insertion"] = counts.insertions;
    out["deletion"] = counts.deletions;
    out["move"] = counts.moves;
    out["formatting"] = counts.formatting;
    return out;
}

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

}  // namespace pymodule
