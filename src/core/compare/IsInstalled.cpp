#include "compare/IsInstalled.h"

#include <exception>

#include "compare/Word1.h"

std::string WordNotCreatedMessage(const std::string& standInFailure) {
    std::string message =
        "Error 842001. A normal instance of Word could not be created.\r\n\r\n"
        "1. Please make sure Word is installed on this computer.\r\n\r\n"
        "2. Please open Word normally and make sure a blank document opens immediately without "
        "any interrupting window (such as an Word file recovery window).\r\n\r\n"
        "3. Please make sure that when you double-click on a DOC or DOCX file that Word opens "
        "normally without any interrupting messages.\r\n\r\n"
        "4. All versions of Word are supported by this software except for the rare Word "
        "Starter and Student editions.";
    if (!standInFailure.empty()) {
        message +=
            "\r\n\r\n5. This computer has no Word; LibreOffice Writer takes its place "
            "here. " +
            standInFailure;
    }
    return message;
}

void CheckWordInstalled(automation::Host& host, Prompts& prompts, ProgramEnd& end,
                        bool wordIsStandIn) {
    automation::Object word;
    std::string failure = "(no reason given)";
    try {
        word = host.create(kWordProgId);
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
    }
    if (!word.isSet()) {
        try {
            prompts.inform(WordNotCreatedMessage(wordIsStandIn ? failure : ""));
        } catch (...) {
        }
        end.endNow(kNoWordExitCode);
        return;
    }
    try {
        word.call("quit");
    } catch (...) {
    }
}
