// Turns the paths the user gives into the absolute paths and file URLs the office wants, by the
// office's own runtime, so that both follow the office's rules.
#pragma once

#include <string>

namespace office {

// The path made absolute against the current folder, as the office resolves it: "." and ".."
// are taken away. An absolute path keeps its form otherwise.
std::string AbsolutePath(const std::string& path);

// The file URL of an absolute path, with '#', '%', '?', blanks, non-ASCII letters and every
// other character that a URL path cannot hold as it is percent-encoded.
std::string FileUrlFromPath(const std::string& absolutePath);

}  // namespace office
