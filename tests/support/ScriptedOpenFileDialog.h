// An open-file dialog for tests: logs every property set and show, answers each show with the
// next queued pick ("" for Cancel), and can fail any call by the start of its log line.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "select/OpenFileDialog.h"

class ScriptedOpenFileDialog : public OpenFileDialog {
  public:
    void setFileName(const std::string& name) override;
    std::string fileName() const override;
    void setFlags(std::int32_t flags) override;
    void setDialogTitle(const std::string& title) override;
    void setFilter(const std::string& filter) override;
    void ShowOpen() override;

    void fail(std::string linePrefix) { failing_.push_back(std::move(linePrefix)); }
    std::deque<std::string> picks;
    const std::vector<std::string>& calls() const { return calls_; }

  private:
    void record(const std::string& line) const;
    std::string fileName_ = "(left from an earlier use)";
    mutable std::vector<std::string> calls_;
    std::vector<std::string> failing_;
};
