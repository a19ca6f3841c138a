// The common error report shown by every trapping procedure.
#pragma once

#include <string>

#include "app/errors/Prompts.h"

inline constexpr const char* kErrorReportTitle = "Application Error";

// Description, CR LF, location and line, two CRs, then the request for a screenshot. Every
// location text ends with a space, which separates it from "at line ".
std::string ErrorReportText(const std::string& location, int line, const std::string& description);

void ReportError(Prompts& prompts, const std::string& location, int line,
                 const std::string& description);
