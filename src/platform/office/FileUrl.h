// Turns the paths the user gives into the absolute paths and file URLs the office wants.
#pragma once

#include <string>

namespace office {

// The path made absolute against the current folder; an absolute path is returned unchanged.
std::string AbsolutePath(const std::string& path);

// "file://" and the absolute path with every byte percent-encoded except A-Z a-z 0-9 - . _ ~ /,
// so that '#', '%', '?', blanks and non-ASCII letters reach the office intact.
std::string FileUrlFromPath(const std::string& absolutePath);

}  // namespace office
