// Prints how long quorvane-compare.exe takes under Wine beside the Linux program on the same
// machine and pair: 2,000 pages with one word changed every other page. Wine's own start, the
// time of `--version`, is measured apart and left out; the size of the .exe is printed too.
//   windows_cli_bench [PAGES] [PATH-OF-THE-EXE]
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchDocuments.h"

extern char** environ;

namespace {

// Seconds one run of the command takes, its output dropped; negative when it fails.
double Run(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 01, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 01, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int status = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        waitpid(pid, &status, 0);
    }
    posix_spawn_file_actions_destroy(&actions);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

double MedianOf(int runs, const std::vector<std::string>& command) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(Run(command));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    namespace fs = std::filesystem;
    const int pages = argc > 1 ? std::atoi(argv[1]) : 2000;
    const std::string exe =
        argc > 2 ? argv[2] : QUORVANE_WINDOWS_BUILD_DIR "/Quorvane/quorvane-compare.exe";
    const std::string linux =
        (fs::path(argv[0]).parent_path().parent_path() / "Quorvane" / "quorvane-compare").string();
    if (!fs::exists(exe)) {
        std::fprintf(stderr, "windows_cli_bench: %s is missing (scripts/build --with-windows)\n",
                     exe.c_str());
        return 1;
    }
    const std::string folder = (fs::temp_directory_path() / "quorvane-windows-bench").string();
    fs::create_directories(folder);
    MakePagedPair(folder, pages, "pair");
    const std::string a = folder + "/pair-a.docx", b = folder + "/pair-b.docx";
    // A prefix of its own, made before the first measured run.
    setenv("WINEPREFIX", (folder + "/wineprefix").c_str(), 1);
    setenv("WINEDEBUG", "-all", 1);
    Run({"wine", exe, "--version"});

    const double onLinux = MedianOf(5, {linux, a, b, "-o", folder + "/linux.docx"});
    const double wineStart = MedianOf(5, {"wine", exe, "--version"});
    const double underWine = MedianOf(5, {"wine", exe, a, b, "-o", folder + "/wine.docx"});
    std::printf("%d pages, median of 5 runs\n", pages);
    std::printf("  Linux program:          %8.3f s\n", onLinux);
    std::printf("  under Wine, in all:     %8.3f s\n", underWine);
    std::printf("  Wine's own start:       %8.3f s\n", wineStart);
    std::printf("  under Wine, its start left out: %.3f s = %.2f x Linux (target: at most 2 x)\n",
                underWine - wineStart, (underWine - wineStart) / onLinux);
    std::printf("  quorvane-compare.exe:   %8.2f MB (target: under 8 MB, nothing beside it)\n",
                static_cast<double>(fs::file_size(exe)) / (1 << 20));
    Run({"wineserver", "-k"});
    return 0;
}
