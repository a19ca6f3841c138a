// Prints how long combining three reviewers' copies of one long document takes beside one
// comparison of the original with one copy: 400 pages (2,000 paragraphs); the first copy changes
// a word every other page, the second a word in every fourth paragraph and in the third paragraph
// of every eighth page (some of them paragraphs the first one changed too: those conflict), the
// third deletes every tenth paragraph. Checks that every conflict keeps both reviewers' words.
//   combine_bench [PAGES]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BenchDocuments.h"
#include "redline/Combine.h"
#include "redline/Compare.h"

namespace {

// Writes `to` as `from` with the main part's paragraphs rewritten by `edit(index, paragraph)`.
void Rewrite(const std::string& from, const std::string& to,
             const std::function<std::string(int, const std::string&)>& edit) {
    redline::Package package = redline::Package::Read(from);
    const std::string& body = package.part("word/document.xml");
    std::string out;
    std::size_t at = 0;
    int index = 0;
    for (std::size_t start; (start = body.find("<w:p>", at)) != std::string::npos;) {
        const std::size_t end = body.find("</w:p>", start) + 6;
        out += body.substr(at, start - at) + edit(index++, body.substr(start, end - start));
        at = end;
    }
    out += body.substr(at);
    package.put("word/document.xml", out);
    package.write(to);
}

std::string Replaced(std::string paragraph, const std::string& word, const std::string& by) {
    const std::size_t found = paragraph.find(" " + word + " ");
    if (found != std::string::npos) paragraph.replace(found + 1, word.size(), by);
    return paragraph;
}

double Seconds(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    namespace fs = std::filesystem;
    const int pages = argc > 1 ? std::atoi(argv[1]) : 400;
    const std::string folder = (fs::temp_directory_path() / "quorvane-combine-bench").string();
    fs::remove_all(folder);
    fs::create_directories(folder);
    MakePagedPair(folder, pages, "long");
    const std::string original = folder + "/long-a.docx", first = folder + "/long-b.docx",
                      second = folder + "/second.docx", third = folder + "/third.docx";
    // Paragraph 3 of every fourth page is the first copy's too (every other page, the third
    // paragraph): those conflict.
    int expected = 0;
    Rewrite(original, second, [&](int i, const std::string& p) {
        const std::string edited = i % 4 == 0 || i % 40 == 2 ? Replaced(p, "office", "bureau") : p;
        expected += edited != p && i % 10 == 2;
        return edited;
    });
    Rewrite(original, third,
            [](int i, const std::string& p) { return i % 10 == 7 ? std::string() : p; });
    const std::vector<redline::ReviewedCopy> copies = {
        {first, "First"}, {second, "Second"}, {third, "Third"}};
    std::vector<double> compared, combined;
    std::vector<redline::Change> changes;
    for (int run = 0; run < 3; ++run) {
        compared.push_back(
            Seconds([&] { redline::CompareDocuments(original, first, folder + "/one.docx"); }));
        combined.push_back(Seconds(
            [&] { changes = redline::CombineDocuments(original, copies, folder + "/all.docx"); }));
    }
    int conflicting = 0, versions = 0;
    for (const redline::Change& change : changes) {
        conflicting += !change.conflictsWith.empty();
        versions += !change.conflictsWith.empty() && change.reviewers[0] == "Second" &&
                    change.text.find("bureau") != std::string::npos;
    }
    std::printf("%d pages, 3 reviewers, median of 3 runs\n", pages);
    std::printf("one comparison:  %.3f s\n", Median(compared));
    std::printf("combining three: %.3f s (%.2f x one comparison)\n", Median(combined),
                Median(combined) / Median(compared));
    std::printf(
        "changes: %zu, in conflict: %d; the second reviewer's conflicting versions: %d of "
        "%d\n",
        changes.size(), conflicting, versions, expected);
    fs::remove_all(folder);
    return versions == expected ? 0 : 1;
}
