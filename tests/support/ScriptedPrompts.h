// Prompts for tests: records every message with its title and answers questions from a queue.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/errors/Prompts.h"

class ScriptedPrompts : public Prompts {
  public:
    struct Shown {
        std::string kind;  // "inform", "ask" or "error"
        std::string title;
        std::string text;
    };

    void inform(const std::string& text) override;
    Answer ask(const std::string& text) override;
    void reportError(const std::string& text) override;

    // Answers for the next questions, in order; a question with none queued is answered No.
    std::deque<Answer> answers;
    // Runs whenever a message of any kind is shown (after it is recorded).
    std::function<void(const Shown&)> onShow;

    const std::vector<Shown>& shown() const { return shown_; }
    std::vector<std::string> texts() const;

  private:
    void record(std::string kind, std::string title, const std::string& text);
    std::vector<Shown> shown_;
};
