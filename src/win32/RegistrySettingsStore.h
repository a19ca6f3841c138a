// The settings store in the current user's registry, where Windows' classic program-settings
// functions keep them: HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>,
// one text value per key. Paths stored there by an earlier installation are found again.
#pragma once

#include <string>

#include "app/settings/SettingsStore.h"

class RegistrySettingsStore : public SettingsStore {
  public:
    // `root`: the key below HKEY_CURRENT_USER that holds one sub-key per application.
    explicit RegistrySettingsStore(std::string root = "Software\\VB and VBA Program Settings")
        : root_(std::move(root)) {}

    std::string read(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& fallback = {}) override;
    void write(const std::string& app, const std::string& section, const std::string& key,
               const std::string& text) override;

  private:
    std::string root_;
};
