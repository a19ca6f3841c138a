// Prints the time from a click on "Start Comparing" to "Done." for a small pair, through the
// program's own command and the Linux engine: with a cold engine (the office started by the
// click) beside a warm one (started ahead, as the program does). Median of five runs each.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "BenchDocuments.h"
#include "compare/CompareCommand.h"
#include "office/OfficeHost.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Paths : DocumentPaths {
    std::string first, second;
    std::string documentToCompare() const override { return first; }
    std::string documentToCompareWith() const override { return second; }
};

// Message boxes that answer at once; "Done." marks the end of a run.
struct TimedPrompts : Prompts {
    Clock::time_point done;
    int reports = 0;
    void inform(const std::string&) override { done = Clock::now(); }
    Answer ask(const std::string&) override { return Answer::Yes; }
    void reportError(const std::string& text) override {
        ++reports;
        std::fprintf(stderr, "%s\n", text.c_str());
    }
};

double Click(office::OfficeHost& host, const Paths& paths) {
    TimedPrompts prompts;
    Word1 word1(host, prompts);
    CompareCommand command(paths, word1, prompts);
    const auto start = Clock::now();
    command.PushButton5_Click();
    if (prompts.reports) return -1;
    return std::chrono::duration<double>(prompts.done - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    const std::string folder = std::filesystem::temp_directory_path() / "quorvane-click-bench";
    std::filesystem::create_directories(folder);
    MakeDocuments(folder, 6, "small");
    if (!ConvertToDocx(folder)) return 1;
    Paths paths;
    paths.first = folder + "/small-a.docx";
    paths.second = folder + "/small-b.docx";
    office::SessionOptions options;
    options.headless = true;

    std::vector<double> cold, warm;
    for (int run = 0; run < 5; ++run) {
        office::OfficeHost host(options);
        cold.push_back(Click(host, paths));
    }
    office::OfficeHost host(options);
    host.create("Word.Application").call("Quit");  // the start-up check leaves it warm
    for (int run = 0; run < 5; ++run) {
        host.warmOffice().waitUntilSettled();  // the user is still choosing documents
        warm.push_back(Click(host, paths));
    }
    std::printf("click to \"Done.\", small pair, median of 5\n");
    std::printf("  cold engine: %.3f s\n  warm engine: %.3f s\n", Median(cold), Median(warm));
    std::filesystem::remove_all(folder);
    return 0;
}
