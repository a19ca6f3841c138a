// Ends a stuck office: while a CallDeadline lives, a watchdog thread kills the office process
// once the time limit has passed, which makes the blocked call return with an error.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace office {

class CallDeadline {
  public:
    CallDeadline(std::chrono::milliseconds limit, std::function<void()> onExpiry);
    ~CallDeadline();
    CallDeadline(const CallDeadline&) = delete;
    CallDeadline& operator=(const CallDeadline&) = delete;

    bool expired() const;

  private:
    mutable std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    bool expired_ = false;
    std::thread watchdog_;
};

}  // namespace office
