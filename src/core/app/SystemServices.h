// The operating system's services that the start-up sequence and the handlers use beyond the
// message boxes and the settings store: the clock, a random source, the desktop shell and the
// end of the program. Plain interfaces, so that every decision is tested without them.
#pragma once

#include <memory>
#include <string>

class Clock {
  public:
    virtual ~Clock() = default;
    // The local time of day in seconds since midnight, with its fraction.
    virtual double secondsSinceMidnight() = 0;
};

class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual void seed(double seed) = 0;
    // The next number r with 0 <= r < 1.
    virtual double next() = 0;
};

class Shell {
  public:
    virtual ~Shell() = default;
    // Opens a web address in the user's browser.
    virtual void openWebPage(const std::string& address) = 0;
    // Opens a folder in the desktop's file manager.
    virtual void openFolder(const std::string& folder) = 0;
};

class EventPump {
  public:
    virtual ~EventPump() = default;
    // Handles the window events that arrive within `seconds`, then returns.
    virtual void handleEventsFor(double seconds) = 0;
};

class ProgramEnd {
  public:
    virtual ~ProgramEnd() = default;
    // Ends the program at once: every window goes, no handler runs. Values that the settings
    // store still holds for writing are written first.
    virtual void endNow(int exitCode) = 0;
};

// The clock and random source of the standard library.
std::unique_ptr<Clock> MakeSystemClock();
std::unique_ptr<RandomSource> MakeSystemRandomSource();
