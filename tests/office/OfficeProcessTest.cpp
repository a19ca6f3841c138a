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

// A program folder whose soffice.bin ends as soon as it starts.
std::string ShortLivedOffice(const TemporaryFolder& folder) {
    const std::string program = folder.path() + "/program";
    fs::create_directory(program);
    WriteFile(program + "/soffice.bin", "#!/bin/sh\nexit 0\n");
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
