// Zip files read and written for the tests through libzip alone, so that what a test feeds the
// engine, and how it reads a result, share nothing with the engine's own package code.
#pragma once

#include <string>
#include <utility>
#include <vector>

using ZipEntries = std::vector<std::pair<std::string, std::string>>;  // name, bytes; in order

// Every entry of the zip file at `path`; throws std::runtime_error when it cannot be read.
ZipEntries ReadZip(const std::string& path);

// Writes `entries` as a zip file at `path`, deflated; throws std::runtime_error on failure.
void WriteZip(const std::string& path, const ZipEntries& entries);

// The entry `name`, or nullptr.
const std::string* FindEntry(const ZipEntries& entries, const std::string& name);

// Puts `bytes` as the entry `name`: in its place when there is one, else at the end.
void PutEntry(ZipEntries& entries, const std::string& name, std::string bytes);
