// Prints what a revised document's own tracked changes cost a comparison: a 400-page pair with
// 500 words replaced, compared as it is, and with the revised copy holding those 500
// replacements as 1,000 tracked changes of a counterpart's, kept under their name (the default)
// and accepted first (--accept-tracked).
//   tracked_bench [PAGES]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BenchDocuments.h"
#include "redline/Changes.h"
#include "redline/Compare.h"

int main(int argc, char** argv) {
    const int pages = argc > 1 ? std::atoi(argv[1]) : 400;
    const std::string folder =
        (std::filesystem::temp_directory_path() / "quorvane-tracked-bench").string();
    std::filesystem::create_directories(folder);
    MakePagedPair(folder, pages, "p", 0, 0, 500);
    const std::string a = folder + "/p-a.docx", b = folder + "/p-b.docx",
                      tracked = folder + "/p-tracked.docx", result = folder + "/r.docx";
    redline::CompareOptions counterpart;
    counterpart.author = "Counterparty";
    const auto marks = redline::CompareDocuments(a, b, tracked, counterpart);
    redline::TrackedInputs held;
    redline::CompareDocuments(a, tracked, result, {}, nullptr, &held);
    int count = 0;
    for (const auto& author : held.revised) count += author.changes;
    std::printf(
        "%d pages, %zu changes; the revised copy with them tracked holds %d tracked "
        "changes (%d found no place)\n",
        pages, marks.size(), count, held.notKept);
    constexpr int kRounds = 7;
    redline::CompareOptions accept;
    accept.acceptTracked = true;
    const double plain = MedianSeconds([&] { redline::CompareDocuments(a, b, result); }, kRounds);
    const double kept =
        MedianSeconds([&] { redline::CompareDocuments(a, tracked, result); }, kRounds);
    const double accepted =
        MedianSeconds([&] { redline::CompareDocuments(a, tracked, result, accept); }, kRounds);
    std::printf("without tracked changes      %.3f s\n", plain);
    std::printf("tracked changes kept         %.3f s  (%.2f x)\n", kept, kept / plain);
    std::printf("tracked changes accepted     %.3f s  (%.2f x)\n", accepted, accepted / plain);
    std::filesystem::remove_all(folder);
}
