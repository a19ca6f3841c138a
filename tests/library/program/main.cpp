// A program of someone else's that uses the installed engine: compares two documents and
// combines one reviewer's copy, printing what it found.
#include <quorvane/redline/Combine.h>
#include <quorvane/redline/Compare.h>

#include <iostream>

int main(int argc, char* argv[]) {
    if (argc != 4) return 2;
    try {
        const auto changes = redline::CompareDocuments(argv[1], argv[2], argv[3]);
        const redline::ChangeCounts counts = redline::Count(changes);
        std::cout << "insertions " << counts.insertions << ", deletions " << counts.deletions
                  << "\n";
        const auto combined = redline::CombineDocuments(argv[1], {{argv[2], "Reviewer"}}, argv[3]);
        std::cout << "combined " << combined.size() << " by "
                  << (combined.empty() ? "" : combined.front().reviewers.front()) << "\n";
    } catch (const redline::UnreadableDocument& e) {
        std::cerr << "cannot read " << e.path() << "\n";
        return 1;
    }
}
