// A settings store held in memory, for tests of what writes and when; can refuse every write or
// every read.
#pragma once

#include <atomic>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "app/settings/SettingsStore.h"

class MemorySettingsStore : public SettingsStore {
  public:
    std::string read(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& fallback = {}) override;
    void write(const std::string& app, const std::string& section, const std::string& key,
               const std::string& text) override;

    std::atomic<bool> refuseWrites = false;
    bool refuseReads = false;
    // Every write, as "key=text", in order.
    std::vector<std::string> writes;
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
};
