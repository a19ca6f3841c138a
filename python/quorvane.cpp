// The `quorvane` Python module: compare two documents, combine reviewers' copies, read the changes
// as a word diff or a report, as quorvane-compare does, with its settings as keyword arguments
// and its failures as Python exceptions. Word 2007+ documents need no office; other formats go
// through one private office, started at the first need and ended when the interpreter exits.
#include <pybind11/pybind11.h>

#include "Definitions.h"
#include "Jobs.h"

namespace py = pybind11;

PYBIND11_MODULE(quorvane, m) {
    m.doc() =
        "Compares Word documents and combines reviewers' copies, marking every difference as a "
        "tracked change, without an office for Word 2007+ documents.";
    pymodule::DefineErrors(m);
    pymodule::DefineChange(m);
    pymodule::DefineResult(m);
    pymodule::DefineCompare(m);
    pymodule::DefineCombine(m);
    pymodule::DefineWordDiff(m);
    pymodule::DefineReport(m);
    // The office, if one was started, ends with the interpreter.
    py::module_::import("atexit").attr("register")(py::cpp_function([] { pymodule::EndOffice(); }));
}
