// Prints what the engine costs on document shapes that real users produce, beside the floor: a
// program that only opens, inflates, parses, serialises and deflates the same packages. Each run
// is a process of its own, so its peak resident memory is its own. "text": the result's main part
// beside the revised one's, in bytes.
//   shape_bench [--only WORDS] [PARAGRAPHS...]   (default: every shape at 10000 and 50000;
//   with --only, the shapes whose name holds WORDS, leaving the last pair in the temp folder)
//   shape_bench --engine|--floor|--plain-floor A B RESULT   (one of them alone, in this
//   process: what the table measures, and for profilers)
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "ShapePairs.h"
#include "redline/Compare.h"
#include "redline/io/BothAtOnce.h"
#include "redline/io/Package.h"
#include "redline/io/Xml.h"
#include "redline/read/Document.h"

namespace {

using namespace shapes;

// What the engine cannot do better than: open, inflate and parse both packages' main parts and
// comments parts, serialise the revised one's and write its package, on both cores where the
// engine uses them.
void Floor(const std::string& a, const std::string& b, const std::string& result) {
    redline::DocumentSide sideA, sideB;
    redline::PackagePart commentsA, commentsB;
    const auto load = [](redline::DocumentSide& side, redline::PackagePart& comments,
                         const std::string& path) {
        redline::LoadDocument(side, path);
        if (const std::string name = side.partOfType("/comments"); !name.empty()) {
            redline::LoadPart(side.package, name, comments);
        }
    };
    redline::BothAtOnce([&] { load(sideA, commentsA, a); }, [&] { load(sideB, commentsB, b); });
    redline::SavePart(sideB.main, sideB.package);
    if (!commentsB.name.empty()) redline::SavePart(commentsB, sideB.package);
    sideB.package.write(result);
}

// The floor as a program written with the two libraries' defaults reaches it, on one core: every
// part of both packages inflated and every XML part parsed; the revised package's parts
// serialised and deflated at the zip library's own level. The engine copies what it did not
// change and deflates what it did at a level of its own: it can be faster than this.
void PlainFloor(const std::string& a, const std::string& b, const std::string& result) {
    struct Part {
        std::string name, bytes;
        pugi::xml_document xml;
        bool parsed = false;
    };
    const auto read = [](const std::string& path) {
        std::vector<std::unique_ptr<Part>> parts;
        zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, nullptr);
        if (!archive) throw std::runtime_error("cannot open " + path);
        for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
            zip_stat_t stat;
            zip_stat_index(archive, i, 0, &stat);
            auto part = std::make_unique<Part>();
            part->name = stat.name;
            part->bytes.resize(stat.size);
            zip_file_t* file = zip_fopen_index(archive, i, 0);
            zip_fread(file, part->bytes.data(), stat.size);
            zip_fclose(file);
            const std::string& name = part->name;
            if (name.ends_with(".xml") || name.ends_with(".rels")) {
                part->parsed =
                    part->xml.load_buffer(part->bytes.data(), part->bytes.size(),
                                          pugi::parse_default | pugi::parse_ws_pcdata_single);
                std::string().swap(part->bytes);
            }
            parts.push_back(std::move(part));
        }
        zip_discard(archive);
        return parts;
    };
    const auto original = read(a);
    auto parts = read(b);
    zip_t* archive = zip_open(result.c_str(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    if (!archive) throw std::runtime_error("cannot write " + result);
    for (auto& part : parts) {
        if (part->parsed) {
            std::ostringstream out;
            part->xml.save(out, "", pugi::format_raw, pugi::encoding_utf8);
            part->bytes = std::move(out).str();
        }
        zip_source_t* source =
            zip_source_buffer(archive, part->bytes.data(), part->bytes.size(), 0);
        zip_file_add(archive, part->name.c_str(), source, ZIP_FL_OVERWRITE);
    }
    if (zip_close(archive) != 0) throw std::runtime_error("cannot write " + result);
}

// How much more text the result's main part holds than the revised one's, which the floor
// writes: what serialising and deflating the result costs beyond the floor.
double TextGrowth(const std::string& revised, const std::string& result) {
    // Read off the zip directories: inflating here would swell this process, whose pages the
    // measured children share.
    const auto size = [](const std::string& path) {
        zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, nullptr);
        zip_stat_t stat;
        const bool known = archive && zip_stat(archive, "word/document.xml", 0, &stat) == 0;
        if (archive) zip_discard(archive);
        return known ? double(stat.size) : 0.0;
    };
    return size(revised) > 0 ? size(result) / size(revised) : 0;
}

struct Run {
    double seconds = -1;
    long peakKiB = 0;
    std::string failure;
};

// This process's peak resident memory in KiB, from its own memory map's high-water mark: a
// started process's resource usage would count its parent's pages from before it started.
long PeakKiB() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    long peak = 0;
    char line[256];
    while (status && std::fgets(line, sizeof line, status)) {
        if (std::sscanf(line, "VmHWM: %ld", &peak) == 1) break;
    }
    if (status) std::fclose(status);
    return peak;
}

// Runs this program's `mode` on the pair, started afresh as a user starts a program: its time
// from start to end, and the peak memory it reports.
Run Measure(const char* mode, const std::string& a, const std::string& b, const std::string& r) {
    const char* self = "/proc/self/exe";
    const char* arguments[] = {self, mode, a.c_str(), b.c_str(), r.c_str(), nullptr};
    Run run;
    run.failure = "failed";
    int report[2];
    if (pipe(report) != 0) return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, report[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, report[0]);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, self, &actions, nullptr, const_cast<char* const*>(arguments), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(report[1]);
    if (spawned == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        run.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        char text[64] = {};
        const ssize_t got = read(report[0], text, sizeof text - 1);
        if (got > 0 && std::sscanf(text, "peak %ld", &run.peakKiB) == 1 && WIFEXITED(status) &&
            WEXITSTATUS(status) == 0) {
            run.failure.clear();
        }
    }
    close(report[0]);
    return run;
}

// The run of median time, any failure kept.
Run Median(std::vector<Run> runs) {
    std::string failure;
    for (const Run& run : runs) failure += run.failure;
    std::sort(runs.begin(), runs.end(),
              [](const Run& x, const Run& y) { return x.seconds < y.seconds; });
    Run median = runs[runs.size() / 2];
    median.failure = failure.empty() ? "" : "failed";
    return median;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string mode = argc == 5 ? argv[1] : "";
    if (mode == "--engine" || mode == "--floor" || mode == "--plain-floor") {
        try {
            if (mode == "--engine") {
                redline::CompareDocuments(argv[2], argv[3], argv[4]);
            } else if (mode == "--floor") {
                Floor(argv[2], argv[3], argv[4]);
            } else {
                PlainFloor(argv[2], argv[3], argv[4]);
            }
            std::printf("peak %ld KiB\n", PeakKiB());
            return 0;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "    refused: %s\n", e.what());
            return 1;
        }
    }
    if (argc == 4 && std::string(argv[1]) == "--pairs") {
        // Each shape's pair at one size, NAME-a.docx and NAME-b.docx, for comparing elsewhere.
        int index = 0;
        for (const Shape& shape : Shapes()) {
            std::string bodyA, bodyB, commentsA, commentsB;
            shape.make(std::atoi(argv[3]), bodyA, bodyB);
            if (shape.comments) shape.comments(std::atoi(argv[3]), commentsA, commentsB);
            const std::string name = std::string(argv[2]) + "/shape" + std::to_string(++index);
            Write(name + "-a.docx", bodyA, commentsA);
            Write(name + "-b.docx", bodyB, commentsB);
        }
        return 0;
    }
    std::vector<int> sizes;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--only" && i + 1 < argc) {
            only = argv[++i];
        } else {
            sizes.push_back(std::atoi(argv[i]));
        }
    }
    if (sizes.empty()) sizes = {10000, 50000};
    const std::string folder = std::filesystem::temp_directory_path() / "quorvane-shape-bench";
    std::filesystem::create_directories(folder);
    std::printf("%-36s %6s %8s %7s %6s %7s %6s %9s %8s %6s %8s %6s %5s\n", "shape", "size",
                "engine s", "floor s", "ratio", "plain s", "ratio", "engine MB", "floor MB",
                "memory", "plain MB", "memory", "text");
    for (const Shape& shape : Shapes()) {
        if (std::string(shape.name).find(only) == std::string::npos) continue;
        std::vector<double> seconds;
        for (const int n : sizes) {
            std::string bodyA, bodyB, commentsA, commentsB;
            shape.make(n, bodyA, bodyB);
            if (shape.comments) shape.comments(n, commentsA, commentsB);
            const std::string a = folder + "/a.docx", b = folder + "/b.docx",
                              r = folder + "/r.docx";
            Write(a, bodyA, commentsA);
            Write(b, bodyB, commentsB);
            // The median of three, taken in turns: this machine's neighbours come and go.
            std::vector<Run> floors, plains, engines;
            for (int round = 0; round < 3; ++round) {
                floors.push_back(Measure("--floor", a, b, r));
                plains.push_back(Measure("--plain-floor", a, b, r));
                engines.push_back(Measure("--engine", a, b, r));
            }
            const Run floor = Median(floors), plain = Median(plains), engine = Median(engines);
            seconds.push_back(engine.seconds);
            std::printf(
                "%-36s %6d %8.3f %7.3f %5.1fx %7.3f %5.1fx %9.1f %8.1f %5.1fx %8.1f %5.1fx %4.1fx "
                "%s\n",
                shape.name, n, engine.seconds, floor.seconds, engine.seconds / floor.seconds,
                plain.seconds, engine.seconds / plain.seconds, engine.peakKiB / 1024.0,
                floor.peakKiB / 1024.0, double(engine.peakKiB) / double(floor.peakKiB),
                plain.peakKiB / 1024.0, double(engine.peakKiB) / double(plain.peakKiB),
                TextGrowth(b, r), engine.failure.c_str());
            std::fflush(stdout);
        }
        if (sizes.size() >= 2) {
            const double growth = std::log(seconds.back() / seconds.front()) /
                                  std::log(double(sizes.back()) / double(sizes.front()));
            std::printf("%-38s growth exponent %.2f\n", "", growth);
        }
    }
}
