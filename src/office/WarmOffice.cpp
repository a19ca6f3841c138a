#include "office/WarmOffice.h"

#include "automation/Error.h"

namespace office {

StartingSession::StartingSession(SessionOptions options) {
    starter_ = std::thread([this, options = std::move(options)] {
        std::unique_ptr<WriterSession> session;
        std::optional<automation::Error> failure;
        try {
            session = std::make_unique<WriterSession>(options);
        } catch (const automation::Error& e) {
            failure = e;
        } catch (const std::exception& e) {
            failure = automation::Error("The word processor could not be started.", e.what());
        }
        std::lock_guard lock(mutex_);
        session_ = std::move(session);
        failure_ = std::move(failure);
        done_ = true;
        settled_.notify_all();
    });
}

StartingSession::~StartingSession() {
    starter_.join();
}

WriterSession& StartingSession::session() {
    std::unique_lock lock(mutex_);
    // The start itself keeps to the start limit.
    settled_.wait(lock, [this] { return done_; });
    if (failure_) throw *failure_;
    return *session_;
}

bool StartingSession::settled() const {
    std::lock_guard lock(mutex_);
    return done_;
}

bool StartingSession::healthy() {
    std::lock_guard lock(mutex_);
    return done_ && session_ && session_->answers();
}

WarmOffice::WarmOffice(SessionOptions options)
    : options_(std::move(options)), idleWatch_([this] { watchIdleTime(); }) {}

WarmOffice::~WarmOffice() {
    std::shared_ptr<StartingSession> last;
    std::vector<std::shared_ptr<StartingSession>> retiring;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        last = std::move(kept_);
        retiring = std::move(retiring_);
    }
    changed_.notify_all();
    idleWatch_.join();
    retiring.clear();
    last.reset();  // quits it
}

std::shared_ptr<StartingSession> WarmOffice::take() {
    std::shared_ptr<StartingSession> session;
    {
        std::lock_guard lock(mutex_);
        session = std::move(kept_);
    }
    changed_.notify_all();
    // One that died or hangs while it waited, or never managed to start, is replaced unnoticed.
    if (session && session->settled() && !session->healthy()) session.reset();
    return session ? session : std::make_shared<StartingSession>(options_);
}

void WarmOffice::park(std::shared_ptr<StartingSession> session) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;  // `session` quits as it goes
        if (kept_) {
            retiring_.push_back(std::move(session));
        } else {
            kept_ = std::move(session);
            keptSince_ = std::chrono::steady_clock::now();
        }
    }
    changed_.notify_all();
}

void WarmOffice::prepare() {
    {
        std::lock_guard lock(mutex_);
        if (kept_ || stopping_) return;
        kept_ = std::make_shared<StartingSession>(options_);
        keptSince_ = std::chrono::steady_clock::now();
    }
    changed_.notify_all();
}

void WarmOffice::retire(std::shared_ptr<StartingSession> session) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;  // `session` goes here and now
        retiring_.push_back(std::move(session));
    }
    changed_.notify_all();
}

void WarmOffice::waitUntilSettled() {
    std::shared_ptr<StartingSession> kept;
    {
        std::lock_guard lock(mutex_);
        kept = kept_;
    }
    if (kept) {
        try {
            kept->session();
        } catch (const automation::Error&) {
        }
    }
}

bool WarmOffice::holdsOne() const {
    std::lock_guard lock(mutex_);
    return kept_ != nullptr;
}

void WarmOffice::watchIdleTime() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (!retiring_.empty()) {
            auto done = std::move(retiring_);
            retiring_.clear();
            lock.unlock();
            done.clear();  // quits them, outside the lock
            lock.lock();
            continue;
        }
        if (!kept_) {
            changed_.wait(lock);
            continue;
        }
        const auto until = keptSince_ + options_.limits.warmIdle;
        if (changed_.wait_until(lock, until) != std::cv_status::timeout || !kept_ ||
            std::chrono::steady_clock::now() < keptSince_ + options_.limits.warmIdle) {
            continue;
        }
        if (!kept_->settled()) {
            keptSince_ = std::chrono::steady_clock::now();  // idle only from when it is ready
        } else {
            auto unused = std::move(kept_);
            lock.unlock();
            unused.reset();  // quits it, outside the lock
            lock.lock();
        }
    }
}

}  // namespace office
