// What the module's functions share: the one office of the process, the module's exception types,
// paths and settings as Python gives them, and running a job as the command line does, its
// failures raised as Python exceptions.
#pragma once

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <optional>
#include <string>
#include <vector>

#include "CompareJob.h"
#include "HtmlReport.h"
#include "Report.h"
#include "redline/Changes.h"
#include "redline/Compare.h"

namespace pymodule {

namespace py = pybind11;

// The exception types the module adds, made when it is imported.
struct Errors {
    PyObject* unreadable = nullptr;         // ValueError
    PyObject* resultIsInput = nullptr;      // ValueError
    PyObject* resultNotWritten = nullptr;   // OSError
    PyObject* officeUnavailable = nullptr;  // RuntimeError
    PyObject* comparisonFailed = nullptr;   // RuntimeError
};
extern Errors errors;

// Ends the office, if one was started: when the interpreter exits.
void EndOffice();

// A path as Python gives one: str or os.PathLike.
std::string PathOf(const py::handle& path);
std::optional<std::string> OptionalPath(const py::object& path);

redline::CompareOptions Settings(const std::optional<std::string>& author, bool formatting,
                                 bool ignoreCase, bool ignoreWhitespace, bool moves,
                                 bool characterLevel, const std::vector<std::string>& skip,
                                 bool acceptTracked);

// Runs the job without the interpreter's lock, so that threads compare side by side; raises the
// Python exception for a failure, with the command line's message.
std::vector<redline::Change> Run(const CompareJob& job, const redline::CompareOptions& options,
                                 const MarkedLook& look = {},
                                 redline::TrackedInputs* tracked = nullptr);

struct Result {
    std::vector<redline::Change> changes;
    std::optional<std::string> result;
    redline::TrackedInputs tracked{};
};

py::dict Counts(const std::vector<redline::Change>& changes);

// The report written beside its place and renamed when complete, as the command line does.
void WriteReport(const std::string& page, ReportContent content);

}  // namespace pymodule
