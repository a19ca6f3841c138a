// Prints what reading every input part strictly as XML 1.0 costs beside the comparison itself:
// on each document shape at 50,000 paragraphs (words, for the one-paragraph shape), the median
// of 5 comparisons and of 5 checks of every XML part of both inputs, and the check's share.
//   xmltext_bench [PARAGRAPHS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchDocuments.h"
#include "ShapePairs.h"
#include "redline/Compare.h"
#include "redline/io/Package.h"
#include "redline/io/XmlText.h"

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 50000;
    const std::string folder = std::filesystem::temp_directory_path() / "quorvane-xmltext-bench";
    std::filesystem::create_directories(folder);
    const std::string a = folder + "/a.docx", b = folder + "/b.docx", r = folder + "/r.docx";
    std::printf("%-34s %12s %12s %8s\n", "shape", "compare s", "check s", "share");
    for (const shapes::Shape& shape : shapes::Shapes()) {
        std::string bodyA, bodyB, commentsA, commentsB;
        shape.make(n, bodyA, bodyB);
        if (shape.comments) shape.comments(n, commentsA, commentsB);
        shapes::Write(a, bodyA, commentsA);
        shapes::Write(b, bodyB, commentsB);
        const double compare = MedianSeconds([&] { redline::CompareDocuments(a, b, r); }, 5);
        const redline::Package first = redline::Package::Read(a),
                               second = redline::Package::Read(b);
        const double check = MedianSeconds(
            [&] {
                for (const redline::Package* package : {&first, &second}) {
                    for (const std::string& name : package->names())
                        redline::CheckXmlPart(name, package->part(name),
                                              name != "word/document.xml");
                }
            },
            5);
        std::printf("%-34s %12.3f %12.4f %7.1f%%\n", shape.name, compare, check,
                    100.0 * check / compare);
    }
    std::filesystem::remove_all(folder);
}
