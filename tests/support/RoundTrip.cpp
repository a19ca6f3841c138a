#include "support/RoundTrip.h"

#include <sstream>

#include "redline/Compare.h"
#include "support/CanonicalDocument.h"

using redline::Resolution;

std::string FirstDifference(const std::string& expected, const std::string& actual) {
    std::istringstream a(expected), b(actual);
    std::string lineA, lineB, before;
    for (int number = 1;; ++number) {
        const bool moreA = static_cast<bool>(std::getline(a, lineA));
        const bool moreB = static_cast<bool>(std::getline(b, lineB));
        if (!moreA && !moreB) return "no difference";
        if (!moreA || !moreB || lineA != lineB) {
            return "line " + std::to_string(number) + " after\n    " + before +
                   "\n  expected\n    " + (moreA ? lineA : "(end)") + "\n  got\n    " +
                   (moreB ? lineB : "(end)");
        }
        before = lineA;
    }
}

std::string RoundTripFailure(const std::string& folder, generated::Random& random) {
    const auto original = generated::RandomDocument(random, 1 + static_cast<int>(random() % 10));
    std::string edits;
    const auto revised =
        generated::Edit(original, random, 1 + static_cast<int>(random() % 4), &edits);
    const std::string a = folder + "/a.docx", b = folder + "/b.docx", r = folder + "/r.docx";
    generated::WriteGenerated(original, a, random);
    generated::WriteGenerated(revised, b, random);
    try {
        redline::CompareDocuments(a, b, r);
    } catch (const std::exception& e) {
        return "edits:\n" + edits + "the comparison failed: " + e.what();
    }
    const std::string rejected = CanonicalDocument(r, Resolution::Reject);
    const std::string accepted = CanonicalDocument(r, Resolution::Accept);
    const std::string wantA = CanonicalDocument(a), wantB = CanonicalDocument(b);
    std::string failure;
    if (rejected != wantA) failure += "rejecting all: " + FirstDifference(wantA, rejected) + "\n";
    if (accepted != wantB) failure += "accepting all: " + FirstDifference(wantB, accepted) + "\n";
    return failure.empty() ? "" : "edits:\n" + edits + failure;
}
