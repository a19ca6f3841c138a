#include "platform/office/OfficeProcess.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>
#include <vector>

#include "platform/automation/Error.h"
#include "platform/office/FileUrl.h"

extern char** environ;

namespace office {

namespace fs = std::filesystem;

namespace {

constexpr auto kProfileSetUpGrace = std::chrono::minutes(5);

bool ProcessAlive(pid_t pid) {
    if (pid <= 0) return false;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    // The state follows the command name in parentheses, which may itself hold blanks.
    const auto close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] != 'Z';
}

std::string RandomName() {
    std::random_device device;
    std::uniform_int_distribution<unsigned long long> pick;
    char text[32];
    std::snprintf(text, sizeof text, "%016llx", pick(device));
    return text;
}

bool LooksUtf8(const char* value) {
    if (!value) return false;
    std::string text(value);
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text.find("utf-8") != std::string::npos || text.find("utf8") != std::string::npos;
}

// The office's environment: ours, without what breaks it, with a UTF-8 character type so that
// non-ASCII paths survive.
std::vector<std::string> OfficeEnvironment() {
    std::vector<std::string> env;
    const bool utf8 =
        LooksUtf8(std::getenv("LC_ALL")) || LooksUtf8(std::getenv("LC_CTYPE")) ||
        (!std::getenv("LC_ALL") && !std::getenv("LC_CTYPE") && LooksUtf8(std::getenv("LANG")));
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        if (entry.rfind("URE_BOOTSTRAP=", 0) == 0) continue;
        if (!utf8 && (entry.rfind("LC_ALL=", 0) == 0 || entry.rfind("LC_CTYPE=", 0) == 0)) {
            continue;
        }
        env.push_back(entry);
    }
    if (!utf8) env.push_back("LC_CTYPE=C.UTF-8");
    return env;
}

}  // namespace

std::string ProfileRoot() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string root = (runtime && *runtime && fs::is_directory(runtime))
                           ? std::string(runtime) + "/quorvane"
                           : "/tmp/quorvane-" + std::to_string(getuid());
    std::error_code ignored;
    fs::create_directories(root, ignored);
    chmod(root.c_str(), 0700);
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
            if (ProcessAlive(pid)) continue;
        } else {
            // No pid yet: another copy of the program may be starting its office right now.
            const auto age = fs::file_time_type::clock::now() - entry.last_write_time(error);
            if (error || age < kProfileSetUpGrace) continue;
        }
        fs::remove_all(entry.path(), error);
    }
}

OfficeProcess::OfficeProcess(const std::string& programDir, const std::string& pipeName,
                             bool headless)
    : programDir_(programDir), pipeName_(pipeName), headless_(headless) {
    const std::string root = ProfileRoot();
    RemoveStaleProfiles(root);
    profile_ = root + "/office-" + RandomName();
    std::error_code error;
    if (!fs::create_directories(profile_, error)) {
        throw automation::Error(
            "The word processor could not be started: cannot create its "
            "profile folder " +
            profile_ + " (" + error.message() + ").");
    }
    spawn();
}

OfficeProcess::~OfficeProcess() {
    if (detached_) return;
    kill();
    waitForExit(std::chrono::seconds(2));
    std::error_code ignored;
    fs::remove_all(profile_, ignored);
}

void OfficeProcess::spawn() {
    const std::string program = programDir_ + "/soffice.bin";
    if (access(program.c_str(), X_OK) != 0) {
        throw automation::Error(
            "The word processor could not be started: LibreOffice Writer is not installed "
            "(install the packages libreoffice-writer and libreoffice-core).");
    }
    std::vector<std::string> args = {
        program,
        "-env:UserInstallation=" + FileUrlFromPath(profile_),
        "--accept=pipe,name=" + pipeName_ + ";urp;StarOffice.ComponentContext",
        headless_ ? "--headless" : "--invisible",
        "--nologo",
        "--nodefault",
        "--norestore",
        "--nolockcheck",
    };
    std::vector<std::string> env = OfficeEnvironment();
    // Everything the child needs is prepared before fork: only async-signal-safe calls after.
    std::vector<char*> argv, envp;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    int pidPipe[2];
    if (pipe2(pidPipe, O_CLOEXEC) != 0) {
        throw automation::Error("The word processor could not be started: no pipe available.");
    }
    const pid_t child = fork();
    if (child < 0) {
        close(pidPipe[0]);
        close(pidPipe[1]);
        throw automation::Error("The word processor could not be started: cannot fork.");
    }
    if (child == 0) {
        // A session of its own and a second fork, so the office outlives us and is never our
        // zombie.
        setsid();
        const pid_t office = fork();
        if (office == 0) {
            const int null = open("/dev/null", O_RDWR);
            if (null >= 0) {
                dup2(null, 0);
                dup2(null, 1);
                dup2(null, 2);
            }
            execve(argv[0], argv.data(), envp.data());
            _exit(127);
        }
        ssize_t ignored = write(pidPipe[1], &office, sizeof office);
        (void)ignored;
        _exit(0);
    }
    close(pidPipe[1]);
    pid_t office = -1;
    const ssize_t got = read(pidPipe[0], &office, sizeof office);
    close(pidPipe[0]);
    waitpid(child, nullptr, 0);
    if (got != sizeof office || office <= 0) {
        throw automation::Error("The word processor could not be started: cannot fork.");
    }
    pid_ = office;
    std::ofstream(profile_ + "/pid") << pid_;
}

void OfficeProcess::restart() {
    kill();
    spawn();
}

bool OfficeProcess::alive() const {
    return ProcessAlive(pid_);
}

void OfficeProcess::kill() {
    if (alive()) ::kill(pid_, SIGKILL);
}

bool OfficeProcess::waitForExit(std::chrono::milliseconds limit) const {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (alive()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace office
