// The per-user settings store: text values addressed by application name, section and key.
#pragma once

#include <stdexcept>
#include <string>

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The stored text, or `fallback` when the application, section or key is missing. A read
    // never creates anything. Raises SettingsError when the store cannot be read.
    virtual std::string read(const std::string& app, const std::string& section,
                             const std::string& key, const std::string& fallback = {}) = 0;
    // Stores the text at once, creating what is missing. Raises SettingsError when the store
    // cannot be written.
    virtual void write(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& text) = 0;
};

class SettingsError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};
