#include "office/OfficeExit.h"

#include <signal.h>
#include <sys/wait.h>

#include <cstring>

namespace office {

namespace {

constexpr std::size_t kMostWords = 160;

bool IsCrash(int signal) {
    for (int crash : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGTRAP, SIGSYS}) {
        if (signal == crash) return true;
    }
    return false;
}

std::string HowItEnded(std::optional<int> waitStatus) {
    if (!waitStatus || !(WIFEXITED(*waitStatus) || WIFSIGNALED(*waitStatus))) {
        return "it ended while starting, in a way that could not be told";
    }
    if (WIFEXITED(*waitStatus)) return "it ended while starting, with " + EndOf(waitStatus);
    if (IsCrash(WTERMSIG(*waitStatus)))
        return "it crashed while starting, with " + EndOf(waitStatus);
    return "it was ended while starting, with " + EndOf(waitStatus);
}

}  // namespace

std::string EndOf(std::optional<int> waitStatus) {
    if (waitStatus && WIFEXITED(*waitStatus)) {
        return "exit status " + std::to_string(WEXITSTATUS(*waitStatus));
    }
    if (waitStatus && WIFSIGNALED(*waitStatus)) {
        const int signal = WTERMSIG(*waitStatus);
        return "signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
    }
    return "unknown";
}

bool AsksForRestart(std::optional<int> waitStatus) {
    return waitStatus && WIFEXITED(*waitStatus) &&
           WEXITSTATUS(*waitStatus) == kOfficeAsksForRestart;
}

std::string LastWords(const std::string& output) {
    std::size_t end = output.find_last_not_of(" \t\r\n");
    if (end == std::string::npos) return {};
    const std::size_t lineStart = output.rfind('\n', end);
    const std::size_t begin = lineStart == std::string::npos ? 0 : lineStart + 1;
    std::string words;
    for (std::size_t i = begin; i <= end; ++i) {
        const unsigned char c = static_cast<unsigned char>(output[i]);
        words += c < 0x20 || c == 0x7f ? ' ' : static_cast<char>(c);
    }
    words.erase(0, words.find_first_not_of(' '));
    if (words.size() > kMostWords) {
        std::size_t cut = kMostWords;
        // Never leave half a UTF-8 character behind.
        while (cut > 0 && (static_cast<unsigned char>(words[cut]) & 0xC0) == 0x80) --cut;
        words = words.substr(0, cut) + "...";
    }
    return words;
}

std::string EndedWhileStarting(std::optional<int> waitStatus, const std::string& output) {
    std::string message =
        "The word processor could not be started: " + HowItEnded(waitStatus) + ".";
    const std::string words = LastWords(output);
    if (!words.empty()) message += " It said: \"" + words + "\".";
    return message +
           " Try again; if it happens again, check that LibreOffice Writer starts by itself, or "
           "install the package libreoffice-writer again.";
}

}  // namespace office
