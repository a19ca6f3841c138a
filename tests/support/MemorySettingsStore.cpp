#include "support/MemorySettingsStore.h"

std::string MemorySettingsStore::read(const std::string& app, const std::string& section,
                                      const std::string& key, const std::string& fallback) {
    if (refuseReads) throw SettingsError("The settings file \"x.conf\" cannot be read.");
    const auto found = values.find({app, section, key});
    return found == values.end() ? fallback : found->second;
}

void MemorySettingsStore::write(const std::string& app, const std::string& section,
                                const std::string& key, const std::string& text) {
    writes.push_back(key + "=" + text);
    if (refuseWrites) throw SettingsError("The settings file \"x.conf\" cannot be written.");
    values[{app, section, key}] = text;
}
