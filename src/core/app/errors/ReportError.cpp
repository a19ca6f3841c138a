#include "app/errors/ReportError.h"

#include "app/Product.h"

std::string ErrorReportText(const std::string& location, int line, const std::string& description) {
    return description + "\r\n" + location + "at line " + std::to_string(line) + "\r\r" +
           "Please email screenshot of this message to " + kSupportAddress;
}

void ReportError(Prompts& prompts, const std::string& location, int line,
                 const std::string& description) {
    prompts.reportError(ErrorReportText(location, line, description));
}
