#include "app/settings/WriteBehindSettingsStore.h"

WriteBehindSettingsStore::WriteBehindSettingsStore(SettingsStore& target)
    : target_(target), writer_([this] { run(); }) {}

WriteBehindSettingsStore::~WriteBehindSettingsStore() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    writer_.join();
}

void WriteBehindSettingsStore::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
        if (pending_.empty()) return;  // stopping, and everything is written
        std::vector<Entry> batch;
        batch.swap(pending_);
        writing_ = true;
        lock.unlock();
        std::optional<std::string> failure;
        for (const Entry& e : batch) {
            try {
                target_.write(e.app, e.section, e.key, e.text);
            } catch (const SettingsError& error) {
                failure = error.what();
            } catch (const std::exception& error) {
                failure = error.what();
            }
        }
        lock.lock();
        writing_ = false;
        failure_ = failure;
        if (failure && listener_) listener_(*failure);
        idle_.notify_all();
    }
}

void WriteBehindSettingsStore::write(const std::string& app, const std::string& section,
                                     const std::string& key, const std::string& text) {
    std::optional<std::string> failure;
    {
        std::lock_guard lock(mutex_);
        bool replaced = false;
        for (Entry& e : pending_) {
            if (e.app == app && e.section == section && e.key == key) {
                e.text = text;
                replaced = true;
            }
        }
        if (!replaced) pending_.push_back({app, section, key, text});
        failure = failure_;
    }
    wake_.notify_one();
    if (failure) throw SettingsError(*failure);
}

void WriteBehindSettingsStore::flush() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return pending_.empty() && !writing_; });
}

std::string WriteBehindSettingsStore::read(const std::string& app, const std::string& section,
                                           const std::string& key, const std::string& fallback) {
    flush();
    return target_.read(app, section, key, fallback);
}

void WriteBehindSettingsStore::setFailureListener(
    std::function<void(const std::string&)> listener) {
    std::lock_guard lock(mutex_);
    listener_ = std::move(listener);
}
