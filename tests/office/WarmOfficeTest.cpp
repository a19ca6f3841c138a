// The warm office: started ahead of need, taken by the next creation, replaced when it died,
// ended when unused for too long and when the program ends, however it ends.
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "OfficeFixture.h"
#include "compare/Word1.h"
#include "office/OfficeHost.h"
#include "office/OfficeProcess.h"
#include "support/ScriptedPrompts.h"

namespace {

using Clock = std::chrono::steady_clock;

// The time from creating "Word.Application" to its first answer; `word` keeps the object.
std::chrono::duration<double> FirstAnswer(office::OfficeHost& host, automation::Object& word) {
    const auto start = Clock::now();
    word = host.create("Word.Application");
    word.defaultValue();
    return Clock::now() - start;
}

}  // namespace

TEST_F(OfficeTest, TheOfficeTheCheckStartedIsTheOneTheNextCreationGets) {
    office::OfficeHost cold(Headless());
    automation::Object first, second;
    const auto coldTime = FirstAnswer(cold, first);

    const auto before = OfficeProcesses();
    office::OfficeHost host(Headless());
    host.create("Word.Application").call("Quit");  // as the start-up check does
    host.warmOffice().waitUntilSettled();
    const auto warm = OfficesSince(before);
    ASSERT_EQ(warm.size(), 1u);
    const auto warmTime = FirstAnswer(host, second);
    EXPECT_EQ(OfficesSince(before), warm) << "another office was started";
    EXPECT_LT(warmTime, coldTime / 2);
}

TEST_F(OfficeTest, AWarmOfficeKilledBehindOurBackIsReplacedUnnoticed) {
    const auto before = OfficeProcesses();
    office::OfficeHost host(Headless());
    host.create("Word.Application").call("Quit");
    host.warmOffice().waitUntilSettled();
    const auto warm = OfficesSince(before);
    ASSERT_EQ(warm.size(), 1u);
    kill(*warm.begin(), SIGKILL);
    ASSERT_TRUE(
        WaitUntil([&] { return !office::ProcessRunning(*warm.begin()); }, std::chrono::seconds(5)));
    ScriptedPrompts prompts;
    Word1(host, prompts).CompareDocFiles(docs_->originalDocx, docs_->revisedDocx);
    EXPECT_TRUE(prompts.shown().empty()) << prompts.texts().front();
}

TEST_F(OfficeTest, AnUnusedWarmOfficeEndsAtTheIdleLimit) {
    office::SessionOptions options = Headless();
    options.limits.warmIdle = std::chrono::seconds(1);
    const auto before = OfficeProcesses();
    office::OfficeHost host(options);
    host.create("Word.Application").call("Quit");
    host.warmOffice().waitUntilSettled();
    ASSERT_EQ(OfficesSince(before).size(), 1u);
    EXPECT_TRUE(WaitUntil([&] { return !host.warmOffice().holdsOne(); }, std::chrono::seconds(10)));
    EXPECT_TRUE(WaitUntil([&] { return OfficesSince(before).empty(); }, std::chrono::seconds(10)));
}

TEST_F(OfficeTest, AWarmOfficeEndsWithAProgramThatIsKilled) {
    const auto before = OfficeProcesses();
    const std::string ready = folder_->path() + "/holder-ready";
    const int holder = StartProgram({WARM_OFFICE_HOLDER, ready});
    ASSERT_GT(holder, 0);
    ASSERT_TRUE(
        WaitUntil([&] { return std::filesystem::exists(ready); }, std::chrono::seconds(90)));
    const auto warm = OfficesSince(before);
    ASSERT_EQ(warm.size(), 1u);
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_TRUE(
        WaitUntil([&] { return !office::ProcessRunning(*warm.begin()); }, std::chrono::seconds(5)));
}
