// The office's start as the office really behaves: it may ask to be started again, more than
// once, and it may crash. Stand-in offices share the real one's folder but for soffice.bin.
#include <signal.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>

#include "OfficeFixture.h"
#include "WriterReadback.h"
#include "office/OfficeExit.h"
#include "office/OfficeHost.h"

namespace fs = std::filesystem;
using office::WriterSession;

namespace {

// A program folder that is the real office's but for soffice.bin, which runs `script`; the
// script hands over to the real office with `exec "$REAL" "$@"`.
std::string StandInOffice(const TemporaryFolder& folder, const std::string& script) {
    const std::string program = folder.path() + "/program";
    fs::create_directory(program);
    for (const auto& entry : fs::directory_iterator(LIBREOFFICE_PROGRAM_DIR)) {
        if (entry.path().filename() == "soffice.bin") continue;
        fs::create_symlink(entry.path(), program / entry.path().filename());
    }
    WriteFile(program + "/soffice.bin",
              "#!/bin/sh\nREAL='" LIBREOFFICE_PROGRAM_DIR "/soffice.bin'\nSTARTS='" +
                  folder.path() + "/starts'\necho >> \"$STARTS\"\n" + script + "\n");
    fs::permissions(program + "/soffice.bin", fs::perms::owner_all);
    return program;
}

int Starts(const TemporaryFolder& folder) {
    std::ifstream in(folder.path() + "/starts");
    int lines = 0;
    for (std::string line; std::getline(in, line);) ++lines;
    return lines;
}

}  // namespace

TEST_F(OfficeTest, AnOfficeThatAsksTwiceToBeStartedAgainStartsAndCompares) {
    TemporaryFolder install;
    office::SessionOptions options = Headless();
    options.programDir = StandInOffice(install,
                                       "[ \"$(wc -l < \"$STARTS\")\" -le 2 ] && exit 81\n"
                                       "exec \"$REAL\" \"$@\"");
    WriterSession session(options);
    auto original = session.open(docs_->originalDocx);
    EXPECT_EQ(CountRedlines(session, session.compare(original, docs_->revisedDocx)).insertions, 2);
    // Two asked of the stand-in, and the real office's own on its new profile.
    EXPECT_GE(Starts(install), 3);
}

TEST_F(OfficeTest, AnOfficeThatCrashesOnStartSaysHowAndWhatToTry) {
    TemporaryFolder install;
    office::SessionOptions options = Headless();
    options.programDir = StandInOffice(install,
                                       "echo 'starting' >&2\n"
                                       "echo 'fatal: the graphics system failed' >&2\n"
                                       "kill -SEGV $$");
    const std::string expected =
        office::EndedWhileStarting(SIGSEGV, "fatal: the graphics system failed");
    EXPECT_EQ(FailureOf([&] { WriterSession session(options); }), expected);
    EXPECT_EQ(Starts(install), 1) << "a crash is not a request to be started again";
    EXPECT_NE(expected.find("crashed while starting, with signal 11"), std::string::npos);

    // The program meets the same message through its "Word.Application".
    office::OfficeHost host(options);
    EXPECT_EQ(FailureOf([&] { host.create("Word.Application").defaultValue(); }), expected);
}

TEST_F(OfficeTest, AnOfficeThatAsksForEverToBeStartedAgainGivesUpAtTheTimeLimit) {
    TemporaryFolder install;
    office::SessionOptions options = Headless();
    options.programDir = StandInOffice(install, "sleep 0.2; exit 81");
    options.limits.start = std::chrono::seconds(2);
    EXPECT_EQ(FailureOf([&] { WriterSession session(options); }),
              "The word processor could not be started: it did not answer within 2 seconds.");
    EXPECT_GE(Starts(install), 3);
}
