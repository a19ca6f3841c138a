// The office process and its folders, without a real office: a stand-in soffice.bin that ends at
// once, and folders that another local user could have prepared.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "TestDocuments.h"
#include "automation/Error.h"
#include "office/OfficeExit.h"
#include "office/OfficeHost.h"
#include "office/OfficeProcess.h"
#include "office/loader/OfficeEngine.h"

namespace fs = std::filesystem;

namespace {

// Points the profiles at `folder` for as long as it lives.
class RuntimeFolder {
  public:
    explicit RuntimeFolder(const std::string& folder) {
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        if (old) old_ = old;
        setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    }
    ~RuntimeFolder() {
        if (old_.empty()) {
            unsetenv("XDG_RUNTIME_DIR");
        } else {
            setenv("XDG_RUNTIME_DIR", old_.c_str(), 1);
        }
    }

  private:
    std::string old_;
};

// A program folder whose soffice.bin runs `script` (by default: ends as soon as it starts).
std::string ShortLivedOffice(const TemporaryFolder& folder, const std::string& script = "exit 0") {
    const std::string program = folder.path() + "/program";
    fs::create_directories(program);
    WriteFile(program + "/soffice.bin", "#!/bin/sh\n" + script + "\n");
    WriteFile(program + "/libswlo.so", "");
    WriteFile(program + "/libmswordlo.so", "");
    fs::permissions(program + "/soffice.bin", fs::perms::owner_all);
    return program;
}

// Starts a process that sleeps, under process id `wanted` when the system lets us choose it.
pid_t StrangerWithId(pid_t wanted) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        std::ofstream("/proc/sys/kernel/ns_last_pid") << wanted - 1;
        const pid_t child = fork();
        if (child == 0) {
            execl("/bin/sleep", "sleep", "30", static_cast<char*>(nullptr));
            _exit(127);
        }
        if (child == wanted) return child;
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    return -1;
}

}  // namespace

TEST(EnsurePrivateFolder, MakesAPrivateFolderAndRefusesOneThatOthersCouldReach) {
    TemporaryFolder base;
    const std::string fresh = base.path() + "/fresh";
    office::EnsurePrivateFolder(fresh);
    struct stat info {};
    ASSERT_EQ(lstat(fresh.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_NO_THROW(office::EnsurePrivateFolder(fresh));  // ours already: used as it is

    const std::string open = base.path() + "/open", link = base.path() + "/link",
                      file = base.path() + "/file";
    fs::create_directory(open);
    chmod(open.c_str(), 0777);
    fs::create_directory_symlink(fresh, link);
    WriteFile(file, "");
    for (const std::string& unsafe : {open, link, file}) {
        const std::string failure = FailureOf([&] { office::EnsurePrivateFolder(unsafe); });
        EXPECT_NE(failure.find("is not safe"), std::string::npos) << unsafe << ": " << failure;
    }
    if (geteuid() == 0) {  // only root can give a folder away
        const std::string theirs = base.path() + "/theirs";
        fs::create_directory(theirs);
        chmod(theirs.c_str(), 0700);
        ASSERT_EQ(chown(theirs.c_str(), 65534, 65534), 0);
        EXPECT_NE(FailureOf([&] { office::EnsurePrivateFolder(theirs); }).find("is not safe"),
                  std::string::npos);
    }
}

TEST(OfficeProcess, AnUnsafeProfileFolderStopsTheStartWithNothingWrittenThere) {
    TemporaryFolder runtime, elsewhere;
    RuntimeFolder pointed(runtime.path());
    fs::create_directory_symlink(elsewhere.path(), runtime.path() + "/quorvane");
    const std::string failure =
        FailureOf([&] { office::OfficeProcess("/nonexistent", "p", true); });
    EXPECT_NE(failure.find("is not safe"), std::string::npos) << failure;
    EXPECT_TRUE(fs::is_empty(elsewhere.path()));
}

TEST(OfficeProcess, AnOfficeThatEndedIsNeverSignalledThoughItsNumberIsTakenAgain) {
    TemporaryFolder runtime, install;
    RuntimeFolder pointed(runtime.path());
    office::OfficeProcess office(ShortLivedOffice(install), "p", true);
    const pid_t pid = office.pid();
    ASSERT_TRUE(office.waitForExit(std::chrono::seconds(10)));
    EXPECT_FALSE(office.alive());
    // The number can only be handed to a process of ours where the system lets us choose it.
    const pid_t stranger = StrangerWithId(pid);
    if (stranger < 0) GTEST_SKIP() << "process ids cannot be chosen here";
    office.kill();  // as the time limit does
    EXPECT_FALSE(office.alive());
    EXPECT_EQ(waitpid(stranger, nullptr, WNOHANG), 0) << "the stranger was signalled";
    kill(stranger, SIGKILL);
    waitpid(stranger, nullptr, 0);
}

// How an office ended while starting is learnt from its keeper, and what it said from its output.
TEST(OfficeProcess, TellsHowItEndedAndWhatItSaid) {
    TemporaryFolder runtime, install;
    RuntimeFolder pointed(runtime.path());
    struct Case {
        std::string script, end, said;
    };
    const Case cases[] = {
        {"echo 'warming up'; echo 'cannot open display' >&2; exit 3", "exit status 3",
         "cannot open display"},
        {"echo 'fatal: no fonts' >&2; kill -SEGV $$", "signal 11 (Segmentation fault)",
         "fatal: no fonts"},
        {"exit 81", "exit status 81", ""},
    };
    for (const Case& c : cases) {
        office::OfficeProcess office(ShortLivedOffice(install, c.script), "p", true);
        ASSERT_TRUE(office.waitForExit(std::chrono::seconds(10))) << c.script;
        EXPECT_EQ(office::EndOf(office.waitStatus()), c.end) << c.script;
        EXPECT_EQ(office::LastWords(office.output()), c.said) << c.script;
        EXPECT_EQ(office::AsksForRestart(office.waitStatus()), c.script == "exit 81");
        // A start again makes its own output: the earlier run's words are gone.
        office.restart();
        ASSERT_TRUE(office.waitForExit(std::chrono::seconds(10))) << c.script;
        EXPECT_EQ(office::LastWords(office.output()), c.said) << "output kept across starts";
    }
    // One that still runs has no end to tell; stopped, it tells that it was.
    office::OfficeProcess running(ShortLivedOffice(install, "exec sleep 30"), "p", true);
    EXPECT_EQ(running.waitStatus(), std::nullopt);
    running.kill();
    ASSERT_TRUE(running.waitForExit(std::chrono::seconds(10)));
    EXPECT_EQ(office::EndOf(running.waitStatus()), "signal 9 (Killed)");
}

TEST(OfficeExit, TheMessageSaysHowTheOfficeEndedWhatItSaidAndWhatToTry) {
    const std::string tryThis =
        " Try again; if it happens again, check that LibreOffice Writer starts by itself, or "
        "install the package libreoffice-writer again.";
    EXPECT_EQ(office::EndedWhileStarting(SIGSEGV, "loading\nfatal: no fonts\n\n"),
              "The word processor could not be started: it crashed while starting, with signal "
              "11 (Segmentation fault). It said: \"fatal: no fonts\"." +
                  tryThis);
    EXPECT_EQ(office::EndedWhileStarting(SIGTERM, ""),
              "The word processor could not be started: it was ended while starting, with "
              "signal 15 (Terminated)." +
                  tryThis);
    EXPECT_EQ(office::EndedWhileStarting(1 << 8, "\x1b[31mno\tway\r\n"),
              "The word processor could not be started: it ended while starting, with exit "
              "status 1. It said: \"[31mno way\"." +
                  tryThis);
    EXPECT_EQ(office::EndedWhileStarting(std::nullopt, ""),
              "The word processor could not be started: it ended while starting, in a way that "
              "could not be told." +
                  tryThis);
    EXPECT_TRUE(office::AsksForRestart(office::kOfficeAsksForRestart << 8));
    EXPECT_FALSE(office::AsksForRestart(SIGSEGV));
    EXPECT_FALSE(office::AsksForRestart(std::nullopt));

    // A long last line is cut on a character boundary, never through a letter.
    const std::string greek = std::string(159, 'x') + "\u03b1\u03b2\u03b3";
    const std::string words = office::LastWords(greek);
    EXPECT_EQ(words, std::string(159, 'x') + "...");
}

TEST(OfficeEngine, AMissingEngineOrOfficeSaysWhatToInstallBeforeAnythingStarts) {
    TemporaryFolder empty;
    office::EngineHost host(empty.path());
    EXPECT_NE(FailureOf([&] { host.create("Word.Application"); }).find("its engine"),
              std::string::npos);
    EXPECT_EQ(FailureOf([&] { host.getActive("Word.Application"); }),
              "No running \"Word.Application\" was found.");

    office::SessionOptions noOffice;
    noOffice.programDir = empty.path();
    office::OfficeHost office(noOffice);
    EXPECT_EQ(FailureOf([&] { office.create("Word.Application"); }),
              "The word processor could not be started: LibreOffice Writer is not installed "
              "(install the package libreoffice-writer).");
}
