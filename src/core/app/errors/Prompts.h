// The program's modal messages, as a plain interface so that everything that shows one can be
// tested without a display. Messages without a caption of their own carry the application title.
#pragma once

#include <string>

class Prompts {
  public:
    enum class Answer { Yes, No };

    virtual ~Prompts() = default;

    // A message with an OK button only and no icon.
    virtual void inform(const std::string& text) = 0;
    // A question with Yes and No buttons, Yes the default, no icon.
    virtual Answer ask(const std::string& text) = 0;
    // The common error report: exclamation icon, OK only, titled "Application Error".
    virtual void reportError(const std::string& text) = 0;

    // The caption of every message that names none of its own; set once at start-up.
    const std::string& applicationTitle() const { return applicationTitle_; }
    void setApplicationTitle(std::string title) { applicationTitle_ = std::move(title); }

  private:
    std::string applicationTitle_ = "Quorvane";
};
