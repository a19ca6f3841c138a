#include "support/ScriptedServices.h"

#include <stdexcept>

void RecordingShell::openWebPage(const std::string& address) {
    if (fail) throw std::runtime_error("No web browser could be started.");
    opened.push_back("web " + address);
}

void RecordingShell::openFolder(const std::string& folder) {
    if (fail) throw std::runtime_error("The folder could not be opened.");
    opened.push_back("folder " + folder);
}

double FixedClock::secondsSinceMidnight() {
    const double now = readings.front();
    if (readings.size() > 1) readings.pop_front();
    return now;
}
