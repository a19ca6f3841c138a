// What the document checks and the command line ask of the file system, the one place where
// Linux and Windows differ: paths are UTF-8 text on both.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace office {

struct FileFacts {
    bool exists = false;
    bool folder = false;
    bool plainFile = false;  // neither a folder nor a device
    bool readable = false;
    std::uint64_t size = 0;
    std::time_t modified = 0;
};

// What the file system says of `path`, links followed.
FileFacts FactsOf(const std::string& path);

// Which file `path` is, however it is spelt or linked: device and file number, or none when
// there is no such file.
std::optional<std::pair<std::uint64_t, std::uint64_t>> FileIdentity(const std::string& path);

// Whether a file can be made in `folder`.
bool FolderIsWritable(const std::string& folder);

// Puts the file `from` in the place of `to`, replacing a file there at once; answers why not.
std::optional<std::string> ReplaceWith(const std::string& from, const std::string& to);

// A new folder below `root` that only this user can open; answers "" when none can be made.
std::string MakePrivateFolder(const std::string& root, const std::string& prefix);

}  // namespace office
