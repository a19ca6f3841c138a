#include "platform/office/OfficeProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "platform/automation/Error.h"
#include "platform/office/FileUrl.h"

extern char** environ;

namespace office {

namespace fs = std::filesystem;
using automation::Error;

namespace {

constexpr auto kProfileSetUpGrace = std::chrono::minutes(5);

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

// A program's arguments and environment, laid out before fork: after it, in the child of a
// threaded process, only async-signal-safe calls are allowed.
class CommandLine {
  public:
    CommandLine(std::vector<std::string> args, std::vector<std::string> env)
        : args_(std::move(args)), env_(std::move(env)) {
        for (auto& a : args_) argv_.push_back(a.data());
        argv_.push_back(nullptr);
        for (auto& e : env_) envp_.push_back(e.data());
        envp_.push_back(nullptr);
    }
    [[noreturn]] void exec() const {
        execve(argv_[0], argv_.data(), envp_.data());
        _exit(127);
    }

  private:
    std::vector<std::string> args_, env_;
    std::vector<char*> argv_, envp_;
};

int PidfdOpen(pid_t pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

// A process's number, with its descriptor riding along as ancillary data: one message on a
// local socket.
struct ProcessMessage {
    explicit ProcessMessage(pid_t& pid) : data{&pid, sizeof pid} {
        message.msg_iov = &data;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
    }
    static constexpr ssize_t kSize = sizeof(pid_t);

    char control[CMSG_SPACE(sizeof(int))] = {};
    iovec data;
    msghdr message{};
};

bool SendProcess(int socket, pid_t pid, int pidfd) {
    ProcessMessage sent(pid);
    cmsghdr* header = CMSG_FIRSTHDR(&sent.message);
    header->cmsg_level = SOL_SOCKET;
    header->cmsg_type = SCM_RIGHTS;
    header->cmsg_len = CMSG_LEN(sizeof(int));
    std::memcpy(CMSG_DATA(header), &pidfd, sizeof(int));
    return sendmsg(socket, &sent.message, 0) == ProcessMessage::kSize;
}

bool ReceiveProcess(int socket, pid_t& pid, int& pidfd) {
    ProcessMessage received(pid);
    if (recvmsg(socket, &received.message, MSG_CMSG_CLOEXEC) != ProcessMessage::kSize) {
        return false;
    }
    cmsghdr* header = CMSG_FIRSTHDR(&received.message);
    if (!header || header->cmsg_type != SCM_RIGHTS) return false;
    std::memcpy(&pidfd, CMSG_DATA(header), sizeof(int));
    return pid > 0 && pidfd >= 0;
}

// In the forked child: a session of its own and a second fork, so the office outlives us and is
// never our zombie. The office is still this child's own when its descriptor is opened, so the
// descriptor cannot name another process.
[[noreturn]] void StartDetached(const CommandLine& command, int channel) {
    setsid();
    const pid_t office = fork();
    if (office == 0) {
        const int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, 0);
            dup2(null, 1);
            dup2(null, 2);
        }
        command.exec();
    }
    const int pidfd = office > 0 ? PidfdOpen(office) : -1;
    _exit(pidfd >= 0 && SendProcess(channel, office, pidfd) ? 0 : 1);
}

Error StartFailure(const std::string& why) {
    return Error("The word processor could not be started: " + why);
}

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
        throw StartFailure("its folder " + path + " cannot be made (" + std::strerror(errno) +
                           ").");
    }
    struct stat info {};
    const bool safe = lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
                      info.st_uid == geteuid() && (info.st_mode & 077) == 0;
    if (!safe) {
        throw StartFailure("the folder " + path +
                           " is not safe to keep its files in: it must be a folder of yours "
                           "that no one else can open. Remove it and try again.");
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

OfficeProcess::OfficeProcess(const std::string& programDir, const std::string& pipeName,
                             bool headless)
    : programDir_(programDir), pipeName_(pipeName), headless_(headless) {
    const std::string root = ProfileRoot();
    RemoveStaleProfiles(root);
    profile_ = root + "/office-" + RandomName();
    if (mkdir(profile_.c_str(), 0700) != 0) {
        throw StartFailure("cannot create its profile folder " + profile_ + " (" +
                           std::strerror(errno) + ").");
    }
    spawn();
}

OfficeProcess::~OfficeProcess() {
    if (!detached_) {
        kill();
        waitForExit(std::chrono::seconds(2));
        std::error_code ignored;
        fs::remove_all(profile_, ignored);
    }
    release();
}

void CheckOfficeInstalled(const std::string& programDir) {
    // The office itself, its word processor, and the word processor's Word filters; the
    // package libreoffice-writer brings all three.
    for (const char* part : {"soffice.bin", "libswlo.so", "libmswordlo.so"}) {
        if (access((programDir + "/" + part).c_str(), R_OK) != 0) {
            throw StartFailure(
                "LibreOffice Writer is not installed (install the package libreoffice-writer).");
        }
    }
}

void OfficeProcess::spawn() {
    const std::string program = programDir_ + "/soffice.bin";
    CheckOfficeInstalled(programDir_);
    const CommandLine command(
        {
            program,
            "-env:UserInstallation=" + FileUrlFromPath(profile_),
            "--accept=pipe,name=" + pipeName_ + ";urp;StarOffice.ComponentContext",
            headless_ ? "--headless" : "--invisible",
            "--nologo",
            "--nodefault",
            "--norestore",
            "--nolockcheck",
        },
        OfficeEnvironment());
    int channel[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, channel) != 0) {
        throw StartFailure("no channel to it could be opened.");
    }
    const pid_t child = fork();
    if (child == 0) StartDetached(command, channel[1]);
    close(channel[1]);
    const bool started = child > 0 && ReceiveProcess(channel[0], pid_, pidfd_);
    close(channel[0]);
    if (child > 0) waitpid(child, nullptr, 0);
    if (!started) throw StartFailure("cannot fork.");
    std::ofstream(profile_ + "/pid") << pid_;
}

void OfficeProcess::release() {
    if (pidfd_ >= 0) close(pidfd_);
    pidfd_ = -1;
}

void OfficeProcess::restart() {
    kill();
    release();
    spawn();
}

bool OfficeProcess::alive() const {
    return !waitForExit(std::chrono::milliseconds(0));
}

void OfficeProcess::kill() {
    if (pidfd_ >= 0) syscall(SYS_pidfd_send_signal, pidfd_, SIGKILL, nullptr, 0);
}

bool OfficeProcess::waitForExit(std::chrono::milliseconds limit) const {
    if (pidfd_ < 0) return true;
    // The descriptor becomes readable when the process has ended.
    pollfd ended{pidfd_, POLLIN, 0};
    int result;
    do {
        result = poll(&ended, 1, static_cast<int>(limit.count()));
    } while (result < 0 && errno == EINTR);
    return result != 0;
}

}  // namespace office
