#include "support/ScriptedPrompts.h"

#include "app/errors/ReportError.h"

void ScriptedPrompts::record(std::string kind, std::string title, const std::string& text) {
    shown_.push_back({std::move(kind), std::move(title), text});
    if (onShow) onShow(shown_.back());
}

void ScriptedPrompts::inform(const std::string& text) {
    record("inform", applicationTitle(), text);
}

Prompts::Answer ScriptedPrompts::ask(const std::string& text) {
    record("ask", applicationTitle(), text);
    if (answers.empty()) return Answer::No;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedPrompts::reportError(const std::string& text) {
    record("error", kErrorReportTitle, text);
}

std::vector<std::string> ScriptedPrompts::texts() const {
    std::vector<std::string> result;
    for (const Shown& s : shown_) result.push_back(s.text);
    return result;
}
