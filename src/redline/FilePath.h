// Paths are UTF-8 text throughout the program; these name them to the file system. On Windows
// that means UTF-16, and the "\\?\" form for a path too long for the old limit of 260 characters.
#pragma once

#include <filesystem>
#include <string>

namespace redline {

// `utf8` as the file system library takes it: any script, any length.
std::filesystem::path FilePath(const std::string& utf8);

// `utf8` as libzip opens it (it reads UTF-8 on every platform): long paths in their long form.
std::string ZipPath(const std::string& utf8);

// A path the file system library gave, as UTF-8 text.
std::string Utf8Path(const std::filesystem::path& path);

}  // namespace redline
