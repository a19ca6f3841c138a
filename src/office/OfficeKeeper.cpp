#include "office/OfficeKeeper.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace office {

namespace {

constexpr char kLetRunOn = 'D';
constexpr int kLifeline = 3;  // the keeper's end, at a number of its own choosing

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
    return sendmsg(socket, &sent.message, MSG_NOSIGNAL) == ProcessMessage::kSize;
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

// Only what the keeper holds stays open in it: its lifeline, and /dev/null for the standard
// streams. Every other descriptor of ours, a lifeline of another office among them, goes.
void KeepOnlyTheLifeline(int lifeline) {
    if (lifeline != kLifeline) dup2(lifeline, kLifeline);
    fcntl(kLifeline, F_SETFD, FD_CLOEXEC);  // the office itself must not hold it
    syscall(SYS_close_range, kLifeline + 1, ~0U, 0);
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        if (null > 2) close(null);
    }
}

// The keeper, in the forked child: starts the office, hands its number and descriptor over,
// then waits for the office to end, for word to let it run on, or for the lifeline to close.
[[noreturn]] void Keep(const CommandLine& command, int lifeline) {
    setsid();
    KeepOnlyTheLifeline(lifeline);
    const pid_t office = fork();
    if (office == 0) command.exec();
    // Still the office's parent, so its descriptor cannot name another process.
    const int pidfd = office > 0 ? static_cast<int>(syscall(SYS_pidfd_open, office, 0)) : -1;
    if (pidfd < 0 || !SendProcess(kLifeline, office, pidfd)) _exit(1);
    pollfd watched[2] = {{kLifeline, POLLIN, 0}, {pidfd, POLLIN, 0}};
    for (;;) {
        if (poll(watched, 2, -1) < 0) continue;
        if (watched[1].revents) break;  // the office ended
        if (watched[0].revents) {
            char word = 0;
            if (read(kLifeline, &word, 1) == 1 && word == kLetRunOn) _exit(0);
            syscall(SYS_pidfd_send_signal, pidfd, SIGKILL, nullptr, 0);
            break;
        }
    }
    // How it ended goes back over the lifeline: only the office's parent can learn it, and a
    // start that failed has to say how.
    int status = 0;
    if (waitpid(office, &status, 0) == office)
        send(kLifeline, &status, sizeof status, MSG_NOSIGNAL);
    _exit(0);
}

}  // namespace

CommandLine::CommandLine(std::vector<std::string> args, std::vector<std::string> env,
                         std::string outputFile)
    : args_(std::move(args)), env_(std::move(env)), outputFile_(std::move(outputFile)) {
    for (auto& a : args_) argv_.push_back(a.data());
    argv_.push_back(nullptr);
    for (auto& e : env_) envp_.push_back(e.data());
    envp_.push_back(nullptr);
}

void CommandLine::exec() const {
    if (!outputFile_.empty()) {
        const int output =
            open(outputFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (output >= 0) {
            dup2(output, 1);  // the copies are left open across exec
            dup2(output, 2);
        }
    }
    execve(argv_[0], argv_.data(), envp_.data());
    _exit(127);
}

bool KeptProcess::start(const CommandLine& command) {
    int channel[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, channel) != 0) return false;
    keeper_ = fork();
    if (keeper_ == 0) Keep(command, channel[1]);
    close(channel[1]);
    lifeline_ = channel[0];
    if (keeper_ > 0 && ReceiveProcess(lifeline_, pid_, pidfd_)) return true;
    endKeeping();
    return false;
}

KeptProcess::~KeptProcess() {
    endKeeping();
    if (pidfd_ >= 0) close(pidfd_);
}

void KeptProcess::letRunOn() {
    if (lifeline_ >= 0) {
        const ssize_t sent = send(lifeline_, &kLetRunOn, 1, MSG_NOSIGNAL);
        (void)sent;  // a keeper that has already gone left the office running anyway
    }
    endKeeping();
}

void KeptProcess::endKeeping() {
    if (lifeline_ >= 0) close(lifeline_);
    lifeline_ = -1;
    reapKeeper();
}

std::optional<int> KeptProcess::waitStatus(std::chrono::milliseconds limit) {
    if (waitStatus_ || lifeline_ < 0) return waitStatus_;
    pollfd word{lifeline_, POLLIN, 0};
    int ready;
    do {
        ready = poll(&word, 1, static_cast<int>(limit.count()));
    } while (ready < 0 && errno == EINTR);
    int status = 0;
    if (ready > 0 && recv(lifeline_, &status, sizeof status, MSG_WAITALL) == sizeof status) {
        waitStatus_ = status;
    }
    return waitStatus_;
}

void KeptProcess::reapKeeper() {
    if (keeper_ > 0) {
        while (waitpid(keeper_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    keeper_ = -1;
}

}  // namespace office
