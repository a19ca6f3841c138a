// The settings store on QSettings: the current user's registry on Windows
// (HKEY_CURRENT_USER\Software\<app>\<section>), an INI file <app>/<section>.conf under the user's
// configuration folder elsewhere.
#pragma once

#include <QString>
#include <memory>

#include "app/settings/SettingsStore.h"

class QSettings;

class QSettingsStore : public SettingsStore {
  public:
    // With a folder, the INI files live below it instead (for tests and portable use).
    explicit QSettingsStore(QString folder = {}) : folder_(std::move(folder)) {}

    std::string read(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& fallback = {}) override;
    void write(const std::string& app, const std::string& section, const std::string& key,
               const std::string& text) override;

  private:
    std::unique_ptr<QSettings> open(const std::string& app, const std::string& section) const;
    QString folder_;
};
