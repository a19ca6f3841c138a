#include "office/OfficeProcess.h"

#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "automation/Error.h"
#include "office/FileUrl.h"
#include "office/OfficeKeeper.h"

extern char** environ;

namespace office {

namespace fs = std::filesystem;
using automation::Error;

namespace {

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

Error StartFailure(const std::string& why) {
    return Error("The word processor could not be started: " + why);
}

}  // namespace

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
    if (detached_) return;
    kill();
    waitForExit(std::chrono::seconds(2));
    process_.reset();
    std::error_code ignored;
    fs::remove_all(profile_, ignored);
}

void OfficeProcess::spawn() {
    CheckOfficeInstalled(programDir_);
    const CommandLine command(
        {
            programDir_ + "/soffice.bin",
            "-env:UserInstallation=" + FileUrlFromPath(profile_),
            "--accept=pipe,name=" + pipeName_ + ";urp;StarOffice.ComponentContext",
            headless_ ? "--headless" : "--invisible",
            "--nologo",
            "--nodefault",
            "--norestore",
            "--nolockcheck",
        },
        OfficeEnvironment(), profile_ + "/output");
    process_ = std::make_unique<KeptProcess>();
    if (!process_->start(command)) {
        process_.reset();
        throw StartFailure("cannot fork.");
    }
    std::ofstream(profile_ + "/pid") << process_->pid();
}

pid_t OfficeProcess::pid() const {
    return process_ ? process_->pid() : -1;
}

void OfficeProcess::detach() {
    if (detached_) return;
    detached_ = true;
    if (process_) process_->letRunOn();
}

void OfficeProcess::restart() {
    kill();
    process_.reset();
    spawn();
}

std::optional<int> OfficeProcess::waitStatus() {
    if (!process_ || alive()) return std::nullopt;
    // The keeper sends word the moment it has reaped the office.
    return process_->waitStatus(std::chrono::seconds(2));
}

std::string OfficeProcess::output() const {
    constexpr std::streamoff kTail = 4096;
    std::ifstream in(profile_ + "/output", std::ios::binary);
    if (!in) return {};
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(size > kTail ? size - kTail : 0);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool OfficeProcess::alive() const {
    return !waitForExit(std::chrono::milliseconds(0));
}

void OfficeProcess::kill() {
    if (process_) syscall(SYS_pidfd_send_signal, process_->pidfd(), SIGKILL, nullptr, 0);
}

bool OfficeProcess::waitForExit(std::chrono::milliseconds limit) const {
    if (!process_) return true;
    // The descriptor becomes readable when the process has ended.
    pollfd ended{process_->pidfd(), POLLIN, 0};
    int result;
    do {
        result = poll(&ended, 1, static_cast<int>(limit.count()));
    } while (result < 0 && errno == EINTR);
    return result != 0;
}

}  // namespace office
