// Keeps the store's slow disk write off the user-interface thread: write() hands the value to
// a writer thread and returns at once; the writer puts the newest value of each key on disk
// within milliseconds. A value that a newer one replaced before it was written is skipped,
// never the last one. Reads first wait for what is pending, so they see every write.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "app/settings/SettingsStore.h"

class WriteBehindSettingsStore : public SettingsStore {
  public:
    explicit WriteBehindSettingsStore(SettingsStore& target);
    // Writes everything still pending before it returns: nothing is lost at exit.
    ~WriteBehindSettingsStore() override;

    std::string read(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& fallback = {}) override;
    // Raises SettingsError while the writer's latest attempt failed, so the caller hears of a
    // store that cannot be written at its next change.
    void write(const std::string& app, const std::string& section, const std::string& key,
               const std::string& text) override;
    // Waits until every value handed over so far has been written (or has failed).
    void flush();
    // Called on the writer's thread with the description of each failed write.
    void setFailureListener(std::function<void(const std::string&)> listener);

  private:
    struct Entry {
        std::string app, section, key, text;
    };
    void run();

    SettingsStore& target_;
    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::vector<Entry> pending_;
    bool writing_ = false;
    bool stopping_ = false;
    std::optional<std::string> failure_;
    std::function<void(const std::string&)> listener_;
    std::thread writer_;
};
