#include "office/CallDeadline.h"

namespace office {

CallDeadline::CallDeadline(std::chrono::milliseconds limit, std::function<void()> onExpiry) {
    watchdog_ = std::thread([this, limit, onExpiry = std::move(onExpiry)] {
        std::unique_lock lock(mutex_);
        if (done_.wait_for(lock, limit, [this] { return finished_; })) return;
        expired_ = true;
        lock.unlock();
        onExpiry();
    });
}

CallDeadline::~CallDeadline() {
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
    }
    done_.notify_all();
    watchdog_.join();
}

bool CallDeadline::expired() const {
    std::lock_guard lock(mutex_);
    return expired_;
}

}  // namespace office
