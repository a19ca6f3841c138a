// Prints how long comparisons of .docx pairs take: our engine alone, quorvane-compare as a script
// runs it (and its resident memory), and, in the same run, the office's own compare of the same
// pairs, driven as lightly as possible on an office that is already running. The pairs have 10,
// 100, 400 and 2,000 pages with one word changed every other page.
//   compare_bench [LARGEST_PAGES]   (pairs larger than LARGEST_PAGES are left out)
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <algorithm>
#include <chrono>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/DispatchHelper.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "BenchDocuments.h"
#include "office/FileUrl.h"
#include "office/OfficeProcess.h"
#include "office/UnoValues.h"
#include "redline/Compare.h"

extern char** environ;

using namespace com::sun::star;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The office's own compare, with nothing of ours around it: load both documents, compare.
class OfficeCompare {
  public:
    OfficeCompare() : process_(LIBREOFFICE_PROGRAM_DIR, "bench-" + std::to_string(getpid()), true) {
        auto local = cppu::defaultBootstrap_InitialComponentContext();
        auto resolver = bridge::UnoUrlResolver::create(local);
        const auto url = office::UnoString("uno:pipe,name=bench-" + std::to_string(getpid()) +
                                           ";urp;StarOffice.ComponentContext");
        bool restarted = false;
        while (!context_.is()) {
            try {
                context_.set(resolver->resolve(url), uno::UNO_QUERY_THROW);
            } catch (const connection::NoConnectException&) {
                if (!process_.alive() && !restarted) {
                    process_.restart();
                    restarted = true;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(25));
            }
        }
        desktop_ = frame::Desktop::create(context_);
    }
    ~OfficeCompare() {
        try {
            desktop_->terminate();
        } catch (...) {
        }
    }
    void compare(const std::string& original, const std::string& revised) {
        uno::Sequence<beans::PropertyValue> hidden(1);
        hidden.getArray()[0] = office::Property("Hidden", uno::Any(true));
        const auto first = office::UnoString(office::FileUrlFromPath(original));
        auto model = uno::Reference<frame::XModel>(
            desktop_->loadComponentFromURL(office::UnoString(office::FileUrlFromPath(revised)),
                                           "_blank", 0, hidden),
            uno::UNO_QUERY_THROW);
        uno::Sequence<beans::PropertyValue> args(2);
        args.getArray()[0] = office::Property("URL", uno::Any(first));
        args.getArray()[1] = office::Property("NoAcceptDialog", uno::Any(true));
        uno::Reference<frame::XDispatchProvider> provider(model->getCurrentController()->getFrame(),
                                                          uno::UNO_QUERY_THROW);
        frame::DispatchHelper::create(context_)->executeDispatch(provider, ".uno:CompareDocuments",
                                                                 "", 0, args);
        uno::Reference<util::XCloseable>(model, uno::UNO_QUERY_THROW)->close(true);
    }

  private:
    office::OfficeProcess process_;
    uno::Reference<uno::XComponentContext> context_;
    uno::Reference<frame::XDesktop2> desktop_;
};

struct ToolRun {
    double seconds;
    long residentKiB;
};

// quorvane-compare run as a script runs it; its time and peak resident memory.
ToolRun RunTool(const std::string& tool, const std::vector<std::string>& arguments) {
    std::vector<char*> argv{const_cast<char*>(tool.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, tool.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        return {-1, 0};
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    posix_spawn_file_actions_destroy(&actions);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1, usage.ru_maxrss};
}

}  // namespace

int main(int argc, char* argv[]) {
    const int largest = argc > 1 ? std::atoi(argv[1]) : 2000;
    const std::string folder = std::filesystem::temp_directory_path() / "quorvane-compare-bench";
    std::filesystem::create_directories(folder);
    const std::string tool = std::filesystem::path(argv[0]).parent_path().parent_path() /
                             "Quorvane" / "quorvane-compare";
    // The office's own compare bootstraps its runtime as the office's programs do.
    setenv("URE_BOOTSTRAP", "vnd.sun.star.pathname:" LIBREOFFICE_PROGRAM_DIR "/fundamentalrc", 1);
    OfficeCompare office;

    std::printf("%7s %12s %16s %16s %9s %13s\n", "pages", "engine (s)", "command line (s)",
                "office's own (s)", "ratio", "memory (MiB)");
    for (const int pages : {10, 100, 400, 2000}) {
        if (pages > largest) continue;
        const std::string name = "p" + std::to_string(pages);
        MakePagedPair(folder, pages, name);
        const std::string a = folder + "/" + name + "-a.docx", b = folder + "/" + name + "-b.docx";
        const std::string result = folder + "/" + name + "-result.docx";
        std::vector<double> engine, command;
        long memory = 0;
        for (int run = 0; run < 3; ++run) {
            engine.push_back(Seconds([&] { redline::CompareDocuments(a, b, result); }));
            const ToolRun ran = RunTool(tool, {a, b, "-o", result});
            command.push_back(ran.seconds);
            memory = std::max(memory, ran.residentKiB);
        }
        // The office's own compare takes long on large pairs: once is enough there.
        std::vector<double> own;
        for (int run = 0; run < (pages >= 400 ? 1 : 3); ++run) {
            own.push_back(Seconds([&] { office.compare(a, b); }));
        }
        std::printf("%7d %12.3f %16.3f %16.3f %8.3fx %13.1f\n", pages, Median(engine),
                    Median(command), Median(own), Median(command) / Median(own), memory / 1024.0);
        std::fflush(stdout);
    }
    // The same 400 pages once more with 200 footnotes and 40 sections, each with a header.
    if (largest >= 400) {
        MakePagedPair(folder, 400, "plain");
        MakePagedPair(folder, 400, "parts", 200, 40);
        auto median = [&](const std::string& name) {
            std::vector<double> runs;
            for (int run = 0; run < 5; ++run) {
                runs.push_back(Seconds([&] {
                    redline::CompareDocuments(folder + "/" + name + "-a.docx",
                                              folder + "/" + name + "-b.docx", folder + "/r.docx");
                }));
            }
            return Median(runs);
        };
        const double plain = median("plain"), parts = median("parts");
        std::printf(
            "\n400 pages, engine alone (median of 5): %.3f s; with 200 footnotes and 40 "
            "sections with a header each: %.3f s (%+.0f %%)\n",
            plain, parts, 100 * (parts - plain) / plain);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
