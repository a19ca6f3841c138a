// The module's parts, each defined into it by a function of its own.
#pragma once

#include <pybind11/pybind11.h>

namespace pymodule {

// UnreadableDocument, ResultIsInput, ResultNotWritten, OfficeUnavailable.
void DefineErrors(pybind11::module_& m);
void DefineChange(pybind11::module_& m);
void DefineResult(pybind11::module_& m);
void DefineCompare(pybind11::module_& m);
void DefineCombine(pybind11::module_& m);
void DefineWordDiff(pybind11::module_& m);
void DefineReport(pybind11::module_& m);

}  // namespace pymodule
