// The optional files that the program looks for below its application folder (the folder of the
// program file, which each front-end finds in its own way and hands over in Platform).
#pragma once

#include <filesystem>
#include <string>

// `folder` followed by `relative` ("x/o.cjs"), each part joined with the platform's separator.
std::string BelowFolder(const std::string& folder, const std::string& relative);

// True when `path` names an existing file or folder. Never fails: any problem answers false.
bool FileIsPresent(const std::string& path);

// Reads the whole plain file at `path` into `bytes` when it holds at most `largest` bytes;
// answers false, reading nothing, when it is missing, a folder, unreadable or larger.
bool ReadSmallFile(const std::string& path, std::uintmax_t largest, std::string& bytes);

// A path in the program's UTF-8 text as the file system library takes it on every platform.
std::filesystem::path PathFromUtf8(const std::string& utf8);
