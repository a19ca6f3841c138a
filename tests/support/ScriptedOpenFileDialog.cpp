#include "support/ScriptedOpenFileDialog.h"

#include <stdexcept>

void ScriptedOpenFileDialog::record(const std::string& line) const {
    calls_.push_back(line);
    for (const auto& prefix : failing_) {
        if (line.rfind(prefix, 0) == 0) throw std::runtime_error("The dialog refused: " + line);
    }
}

void ScriptedOpenFileDialog::setFileName(const std::string& name) {
    record("FileName = \"" + name + "\"");
    fileName_ = name;
}

std::string ScriptedOpenFileDialog::fileName() const {
    record("FileName?");
    return fileName_;
}

void ScriptedOpenFileDialog::setFlags(std::int32_t flags) {
    record("Flags = " + std::to_string(flags));
}

void ScriptedOpenFileDialog::setDialogTitle(const std::string& title) {
    record("DialogTitle = \"" + title + "\"");
}

void ScriptedOpenFileDialog::setFilter(const std::string& filter) {
    record("Filter = \"" + filter + "\"");
}

void ScriptedOpenFileDialog::ShowOpen() {
    record("ShowOpen");
    std::string pick;
    if (!picks.empty()) {
        pick = picks.front();
        picks.pop_front();
    }
    if (!pick.empty()) fileName_ = pick;
}
