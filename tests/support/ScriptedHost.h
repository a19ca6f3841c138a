// An automation host for tests that answers "Word.Application" with a scripted stand-in of the
// word processor's object model. Every call is logged as one line of text, for example
//   create Word.Application
//   documents.Open(Text& "a.doc")
//   word.DisplayAlerts = Int32 0
//   document.Merge(filename:=Text& "b.doc", MergeTarget:=Int32 2, ...)
// and any call can be made to fail, or to run a test's action, by the start of its line.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "automation/Host.h"

class ScriptedHost : public automation::Host {
  public:
    automation::Object create(const std::string& progId) override;
    automation::Object getActive(const std::string& progId) override;

    // Every call whose log line starts with `linePrefix` raises an error with `description`.
    void fail(std::string linePrefix, std::string description);
    // Every call whose log line starts with `linePrefix` runs `action` before it answers.
    void during(std::string linePrefix, std::function<void()> action);
    // A running object that the lookup finds, answering `name` as its default value.
    void setRunning(automation::Variant name) { running_ = std::move(name); }

    const std::vector<std::string>& calls() const { return calls_; }
    // Handles to scripted objects that are still held by someone.
    int liveObjects() const { return liveObjects_; }

    // Used by the scripted objects.
    void record(const std::string& line);
    void objectMade() { ++liveObjects_; }
    void objectGone() { --liveObjects_; }

  private:
    struct Rule {
        std::string prefix;
        std::optional<std::string> failure;
        std::function<void()> action;
    };
    std::vector<Rule> rules_;
    std::vector<std::string> calls_;
    std::optional<automation::Variant> running_;
    int liveObjects_ = 0;
};
