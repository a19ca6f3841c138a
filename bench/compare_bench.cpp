// Prints how long comparisons take through the engine, beside a minimal driver that only starts
// the office, loads both documents and compares them: the floor no engine can beat.
// Each figure is the median of three runs.
#include <unistd.h>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/DispatchHelper.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <cppuhelper/bootstrap.hxx>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "BenchDocuments.h"
#include "office/FileUrl.h"
#include "office/OfficeProcess.h"
#include "office/UnoValues.h"
#include "office/WriterSession.h"

using namespace com::sun::star;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The floor: start, connect, load both documents, compare. No checks, no interaction handler,
// no author, no time limits.
class MinimalDriver {
  public:
    MinimalDriver() : process_(LIBREOFFICE_PROGRAM_DIR, "bench-" + std::to_string(getpid()), true) {
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
    ~MinimalDriver() {
        try {
            desktop_->terminate();
        } catch (...) {
        }
    }
    void compare(const std::string& original, const std::string& revised) {
        uno::Sequence<beans::PropertyValue> hidden(1);
        hidden.getArray()[0] = office::Property("Hidden", uno::Any(true));
        const auto first = office::UnoString(office::FileUrlFromPath(original));
        // Like the engine, it opens the first document before the merge, as the object model
        // it serves does; the compare itself then reads that file again by URL.
        auto opened = desktop_->loadComponentFromURL(first, "_blank", 0, hidden);
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
        uno::Reference<util::XCloseable>(opened, uno::UNO_QUERY_THROW)->close(true);
    }

  private:
    office::OfficeProcess process_;
    uno::Reference<uno::XComponentContext> context_;
    uno::Reference<frame::XDesktop2> desktop_;
};

constexpr int kRuns = 3;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Print(const char* pair, const char* measure, double engine, double floor) {
    std::printf("%-14s %-28s %8.3fs %8.3fs %6.2fx\n", pair, measure, engine, floor, engine / floor);
}

struct Pair {
    const char* name;
    std::string original, revised;
};

}  // namespace

int main() {
    const std::string folder = std::filesystem::temp_directory_path() / "quorvane-bench";
    std::filesystem::create_directories(folder);
    MakeDocuments(folder, 6, "small");
    MakeDocuments(folder, 2700, "large");  // about 101 pages at the default page setup
    if (!ConvertToDocx(folder)) return 1;
    // The minimal driver bootstraps its runtime as the office's own programs do.
    setenv("URE_BOOTSTRAP", "vnd.sun.star.pathname:" LIBREOFFICE_PROGRAM_DIR "/fundamentalrc", 1);

    const Pair pairs[] = {{"small pair", folder + "/small-a.docx", folder + "/small-b.docx"},
                          {"101-page pair", folder + "/large-a.docx", folder + "/large-b.docx"}};
    std::printf("%-14s %-28s %9s %9s %7s\n", "documents", "measure (median of 3)", "engine",
                "floor", "ratio");
    for (const Pair& pair : pairs) {
        office::SessionOptions options;
        options.headless = true;
        std::vector<double> engineCold, floorCold, engineWarm, floorWarm;
        for (int run = 0; run < kRuns; ++run) {
            std::unique_ptr<office::WriterSession> session;
            std::unique_ptr<MinimalDriver> floor;
            auto engineCompare = [&] {
                auto original = session->open(pair.original);
                session->close(session->compare(original, pair.revised));
                session->close(original);
            };
            engineCold.push_back(Seconds([&] {
                session = std::make_unique<office::WriterSession>(options);
                engineCompare();
            }));
            floorCold.push_back(Seconds([&] {
                floor = std::make_unique<MinimalDriver>();
                floor->compare(pair.original, pair.revised);
            }));
            engineWarm.push_back(Seconds(engineCompare));
            floorWarm.push_back(Seconds([&] { floor->compare(pair.original, pair.revised); }));
        }
        Print(pair.name, "cold (start and compare)", Median(engineCold), Median(floorCold));
        Print(pair.name, "second comparison", Median(engineWarm), Median(floorWarm));
    }
    std::filesystem::remove_all(folder);
    return 0;
}
