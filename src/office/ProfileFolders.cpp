#include "office/ProfileFolders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "automation/Error.h"

namespace office {

namespace fs = std::filesystem;

namespace {
// A profile without a pid may belong to another copy of the program that is starting its office.
constexpr auto kProfileSetUpGrace = std::chrono::minutes(5);
}  // namespace

char StateInProc(const std::string& statFile) {
    std::ifstream stat(statFile);
    std::string line;
    if (!std::getline(stat, line)) return 0;
    // The state follows the command name in parentheses, which may itself hold blanks.
    const auto close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() ? line[close + 2] : 0;
}

bool ProcessRunning(pid_t pid) {
    if (pid <= 0) return false;
    const char state = StateInProc("/proc/" + std::to_string(pid) + "/stat");
    return state != 0 && state != 'Z';
}

void EnsurePrivateFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0700) == 0) return;
    if (errno != EEXIST) {
        throw automation::Error("The word processor could not be started: its folder " + path +
                                " cannot be made (" + std::strerror(errno) + ").");
    }
    struct stat info {};
    const bool safe = lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
                      info.st_uid == geteuid() && (info.st_mode & 077) == 0;
    if (!safe) {
        throw automation::Error("The word processor could not be started: the folder " + path +
                                " is not safe to keep its files in: it must be a folder of "
                                "yours that no one else can open. Remove it and try again.");
    }
}

std::string ProfileRoot() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string root = (runtime && *runtime && fs::is_directory(runtime))
                                 ? std::string(runtime) + "/quorvane"
                                 : "/tmp/quorvane-" + std::to_string(geteuid());
    EnsurePrivateFolder(root);
    return root;
}

void RemoveStaleProfiles(const std::string& root) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(root, error)) {
        if (!entry.is_directory() || entry.path().filename().string().rfind("office-", 0) != 0) {
            continue;
        }
        std::ifstream pidFile(entry.path() / "pid");
        pid_t pid = -1;
        if (pidFile >> pid) {
            if (ProcessRunning(pid)) continue;
        } else {
            // No pid yet: another copy of the program may be starting its office right now.
            const auto age = fs::file_time_type::clock::now() - entry.last_write_time(error);
            if (error || age < kProfileSetUpGrace) continue;
        }
        fs::remove_all(entry.path(), error);
    }
}

}  // namespace office
