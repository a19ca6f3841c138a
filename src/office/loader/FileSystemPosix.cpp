#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "office/loader/FileSystem.h"

namespace office {

FileFacts FactsOf(const std::string& path) {
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0) return {};
    return {true,
            S_ISDIR(info.st_mode),
            S_ISREG(info.st_mode),
            access(path.c_str(), R_OK) == 0,
            static_cast<std::uint64_t>(info.st_size),
            info.st_mtime};
}

std::optional<std::pair<std::uint64_t, std::uint64_t>> FileIdentity(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return std::nullopt;
    return std::pair<std::uint64_t, std::uint64_t>(info.st_dev, info.st_ino);
}

bool FolderIsWritable(const std::string& folder) {
    struct stat info {};
    return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           access(folder.c_str(), W_OK) == 0;
}

std::optional<std::string> ReplaceWith(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) == 0) return std::nullopt;
    return std::string(std::strerror(errno));
}

std::string MakePrivateFolder(const std::string& root, const std::string& prefix) {
    std::string pattern = root + "/" + prefix + "-XXXXXX";
    return mkdtemp(pattern.data()) ? pattern : std::string();
}

}  // namespace office
