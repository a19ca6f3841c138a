// The engine over generated documents and random edits of them, checked by an oracle that does
// not share its reading: rejecting every change of the result gives the original and accepting
// every change the revised, as canonical XML; runs cut another way alone give no mark at all.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "redline/Compare.h"
#include "support/CanonicalDocument.h"
#include "support/DocumentGenerator.h"
#include "support/Files.h"

namespace {

using redline::Resolution;

int Seeds() {
    const char* given = std::getenv("QUORVANE_SEEDS");
    return given ? std::atoi(given) : 400;
}

// The first line where the two differ, with the line before it, for a reader.
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

struct Outcome {
    std::string failure;  // empty when the round trip holds
};

Outcome CheckRoundTrip(const std::string& folder, std::uint32_t seed) {
    generated::Random random(seed);
    const auto original = generated::RandomDocument(random, 1 + static_cast<int>(random() % 10));
    std::string edits;
    const auto revised = generated::Edit(original, random, 1 + static_cast<int>(random() % 4),
                                         &edits);
    const std::string a = folder + "/a.docx", b = folder + "/b.docx", r = folder + "/r.docx";
    generated::WriteGenerated(original, a, random);
    generated::WriteGenerated(revised, b, random);
    try {
        redline::CompareDocuments(a, b, r);
    } catch (const std::exception& e) {
        return {"the comparison failed: " + std::string(e.what())};
    }
    const std::string rejected = CanonicalDocument(r, Resolution::Reject);
    const std::string accepted = CanonicalDocument(r, Resolution::Accept);
    const std::string wantA = CanonicalDocument(a), wantB = CanonicalDocument(b);
    std::string failure;
    if (rejected != wantA) failure += "rejecting all: " + FirstDifference(wantA, rejected) + "\n";
    if (accepted != wantB) failure += "accepting all: " + FirstDifference(wantB, accepted) + "\n";
    if (!failure.empty()) failure = "edits:\n" + edits + failure;
    return {failure};
}

}  // namespace

TEST(GeneratedDocuments, RejectingAllGivesTheOriginalAndAcceptingAllTheRevised) {
    TemporaryFolder folder;
    int failed = 0;
    for (int seed = 1; seed <= Seeds() && failed < 3; ++seed) {
        const Outcome outcome = CheckRoundTrip(folder.path(), static_cast<std::uint32_t>(seed));
        if (!outcome.failure.empty()) {
            ++failed;
            ADD_FAILURE() << "seed " << seed << "\n" << outcome.failure;
        }
    }
}

TEST(GeneratedDocuments, RunsCutAnotherWayAloneGiveNoMark) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      r = folder.path() + "/r.docx";
    int failed = 0;
    for (int seed = 1; seed <= Seeds() / 2 && failed < 3; ++seed) {
        generated::Random random(static_cast<std::uint32_t>(seed));
        const auto document = generated::RandomDocument(random, 1 + static_cast<int>(random() % 8));
        generated::WriteGenerated(document, a, random);
        generated::WriteGenerated(document, b, random);
        const auto changes = redline::CompareDocuments(a, b, r);
        const std::string rejected = CanonicalDocument(r, Resolution::Reject);
        if (!changes.empty() || rejected != CanonicalDocument(r, Resolution::Accept)) {
            ++failed;
            ADD_FAILURE() << "seed " << seed << ": " << changes.size() << " changes, the first "
                          << (changes.empty() ? "" : changes[0].text) << "\n"
                          << FirstDifference(CanonicalDocument(a), rejected);
        }
    }
}
