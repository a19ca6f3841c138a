// The system's services for tests: a shell that records what it was asked to open, a clock and a
// random source that answer what the test says, an end of the program that only records, and
// the whole platform built from them and the other scripted services.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/Platform.h"
#include "support/MemorySettingsStore.h"
#include "support/ScriptedHost.h"
#include "support/ScriptedOpenFileDialog.h"
#include "support/ScriptedPrompts.h"

class RecordingShell : public Shell {
  public:
    void openWebPage(const std::string& address) override;
    void openFolder(const std::string& folder) override;
    // "web <address>" and "folder <path>", in order.
    std::vector<std::string> opened;
    bool fail = false;
};

class FixedClock : public Clock {
  public:
    double secondsSinceMidnight() override;
    // Answered in turn; the last one stays once the others are used up.
    std::deque<double> readings{43200.0};
};

class ScriptedRandom : public RandomSource {
  public:
    void seed(double seed) override { seeds.push_back(seed); }
    double next() override { return draw; }
    double draw = 0.5;
    std::vector<double> seeds;
};

class RecordingEnd : public ProgramEnd {
  public:
    void endNow(int exitCode) override { exitCodes.push_back(exitCode); }
    std::vector<int> exitCodes;
};

// Every service scripted, and the platform made of them.
struct ScriptedPlatform {
    explicit ScriptedPlatform(std::string folder = "/nonexistent/app", bool standIn = false)
        : platform{host,   prompts, settings,          dialog, shell, clock,
                   random, end,     std::move(folder), standIn} {}

    // The same platform with other prompts and settings: the real message boxes, say.
    Platform platformWith(Prompts& otherPrompts, SettingsStore& otherSettings) {
        return Platform{host,
                        otherPrompts,
                        otherSettings,
                        dialog,
                        shell,
                        clock,
                        random,
                        end,
                        platform.applicationFolder,
                        platform.wordIsStandIn};
    }

    ScriptedHost host;
    ScriptedPrompts prompts;
    MemorySettingsStore settings;
    ScriptedOpenFileDialog dialog;
    RecordingShell shell;
    FixedClock clock;
    ScriptedRandom random;
    RecordingEnd end;
    Platform platform;
};
