// The engine over generated documents and random edits of them, checked by an oracle that does
// not share its reading: rejecting every change of the result gives the original and accepting
// every change the revised, as canonical XML; runs cut another way alone give no mark at all.
#include <gtest/gtest.h>

#include <cstdlib>

#include "redline/Compare.h"
#include "redline/io/Package.h"
#include "support/CanonicalDocument.h"
#include "support/DocumentGenerator.h"
#include "support/Files.h"
#include "support/ReadText.h"
#include "support/ResultCheck.h"
#include "support/RoundTrip.h"
#include "support/SchemaCheck.h"

namespace {

int Seeds() {
    const char* given = std::getenv("QUORVANE_SEEDS");
    return given ? std::atoi(given) : 1000;
}

}  // namespace

TEST(GeneratedDocuments, RejectingAllGivesTheOriginalAndAcceptingAllTheRevised) {
    TemporaryFolder folder;
    int failed = 0;
    for (int seed = 1; seed <= Seeds() && failed < 3; ++seed) {
        generated::Random random(static_cast<std::uint32_t>(seed));
        const std::string failure = RoundTripFailure(folder.path(), random);
        if (!failure.empty()) {
            ++failed;
            ADD_FAILURE() << "seed " << seed << "\n" << failure;
        }
    }
}

// A sample of the seeds: what the comparison writes is what the schema allows wherever its
// inputs keep to it, equations' marks and deleted tables included.
TEST(GeneratedDocuments, ResultsBreakNoSchemaTheirInputsKeep) {
    TemporaryFolder folder;
    int failed = 0;
    for (int seed = 1; seed <= std::min(Seeds(), 40) && failed < 3; ++seed) {
        generated::Random random(static_cast<std::uint32_t>(seed) + 31337u);
        ASSERT_EQ(RoundTripFailure(folder.path(), random), "") << "seed " << seed;
        const std::string path = folder.path();
        const auto added = NewSchemaErrors(path + "/r.docx", {path + "/a.docx", path + "/b.docx"});
        if (!added.empty()) {
            ++failed;
            ADD_FAILURE() << "seed " << seed << ": " << added.size() << " new, the first "
                          << added.front();
        }
    }
}

// With one edit of a word, the marks cover that word alone: its deletion and its replacement's
// insertion, or the inserted word. Words are marked whole, so a word the generator glued to its
// neighbour (no space between) is marked with it: a few in a hundred may cover more.
TEST(GeneratedDocuments, OneEditIsMarkedByWhatItChangedAlone) {
    TemporaryFolder folder;
    const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx",
                      r = folder.path() + "/r.docx";
    int checked = 0, failed = 0;
    for (std::uint32_t seed = 1; seed <= 1000; ++seed) {
        generated::Random random(seed + 2024u);
        const auto document = generated::RandomDocument(random, 1 + static_cast<int>(random() % 8));
        std::string done;
        const auto edited = generated::Edit(document, random, 1, &done);
        std::vector<std::string> expected;
        if (done.find("comment") != std::string::npos) {
            continue;  // a comment came, went or changed beside the edit
        } else if (done.rfind("a word replaced: ", 0) == 0) {
            const std::string words = done.substr(17, done.size() - 18);  // without the newline
            const std::string old = words.substr(0, words.find(" by ")),
                              now = words.substr(words.find(" by ") + 4);
            if (old != now) expected = {"-" + old, "+" + now};
        } else if (done.rfind("a word inserted: ", 0) == 0) {
            expected = {"+" + done.substr(17, done.size() - 18)};
        } else {
            continue;
        }
        generated::WriteGenerated(document, a, random);
        generated::WriteGenerated(edited, b, random);
        std::vector<std::string> marked;
        for (const redline::Change& change : CheckedCompare(a, b, r)) {
            // An inserted word comes with the space that parts it from its neighbour.
            std::string text = change.text;
            text.erase(0, text.find_first_not_of(' '));
            text.erase(text.find_last_not_of(' ') + 1);
            marked.push_back((change.kind == redline::ChangeKind::Deletion ? "-" : "+") + text);
        }
        if (redline::ReadText(a, redline::Reading::AcceptAll) ==
            redline::ReadText(b, redline::Reading::AcceptAll)) {
            continue;  // the edit fell where nothing is written (an empty cell's paragraph)
        }
        ++checked;
        if (marked != expected && ++failed <= 3) {
            std::printf("seed %u, %smarked %s\n", seed, done.c_str(),
                        ::testing::PrintToString(marked).c_str());
        }
    }
    std::printf("%d of %d one-word edits marked by the word alone\n", checked - failed, checked);
    EXPECT_GT(checked, 50);
    EXPECT_LE(failed * 25, checked) << failed << " of " << checked << " edits marked more";
}

// Each seed's comparison under settings drawn at random: accepting all still gives the revised.
TEST(GeneratedDocuments, EverySettingStillAcceptsToTheRevised) {
    TemporaryFolder folder;
    int failed = 0;
    for (int seed = 1; seed <= Seeds() / 2 && failed < 3; ++seed) {
        generated::Random random(static_cast<std::uint32_t>(seed) + 77777u);
        const std::uint32_t draw = random();
        const redline::CompareOptions options = DrawnSettings(draw);
        const std::string failure = RoundTripFailure(folder.path(), random, options);
        if (!failure.empty()) {
            ++failed;
            ADD_FAILURE() << "seed " << seed << " settings " << draw << "\n" << failure;
        }
    }
}

// Word by word into letters, the one setting beside moves that leaves nothing out, so that
// rejecting every change must give the original too: a word whose link changed is not kept.
TEST(GeneratedDocuments, LetterByLetterRejectsToTheOriginal) {
    TemporaryFolder folder;
    int failed = 0;
    for (std::uint32_t seed = 1; seed <= 150 && failed < 3; ++seed) {
        generated::Random random(seed + 999u);
        redline::CompareOptions options;
        options.characterLevel = true;
        options.moves = seed % 2;
        const std::string failure = RoundTripFailure(folder.path(), random, options, {30, 10});
        if (!failure.empty()) {
            ++failed;
            ADD_FAILURE() << "seed " << seed << "\n" << failure;
        }
    }
}

// One paragraph long enough to be read once, kept from reading its hashes to merging it, cut
// into units and its keys found by counting, on both cores: a paragraph of a run per word.
TEST(GeneratedDocuments, OneLongParagraphRoundTrips) {
    TemporaryFolder folder;
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        generated::Random random(seed + 5151u);
        redline::CompareOptions options;  // and word by word into letters, and folding case
        options.characterLevel = seed == 5;
        options.ignoreCase = seed == 6;
        const std::string failure = RoundTripFailure(
            folder.path(), random, options, {.blocks = 600, .edits = 60, .oneParagraph = true});
        EXPECT_EQ(failure, "") << "seed " << seed;
    }
}

// Large enough that the merges of a story are planned a batch ahead, on another core, while the
// batch before is written.
TEST(GeneratedDocuments, LargePairsRoundTripToo) {
    TemporaryFolder folder;
    redline::CompareOptions loose;  // planning then also reads tabs and folds case
    loose.ignoreWhitespace = loose.ignoreCase = loose.characterLevel = true;
    for (std::uint32_t seed = 1; seed <= 3; ++seed) {
        generated::Random random(seed + 4242u);
        redline::CompareOptions options = seed == 3 ? loose : redline::CompareOptions{};
        const std::string failure = RoundTripFailure(folder.path(), random, options, {3000, 2000});
        EXPECT_EQ(failure, "") << "seed " << seed;
        // Work shared between cores leaves no trace: the same pair gives the same bytes.
        options.date = "2026-12-08T10:00:00Z";
        const std::string a = folder.path() + "/a.docx", b = folder.path() + "/b.docx";
        std::string results[2];
        for (std::string& result : results) {
            CheckedCompare(a, b, folder.path() + "/again.docx", options);
            const redline::Package package = redline::Package::Read(folder.path() + "/again.docx");
            for (const std::string& name : package.names()) result += name + package.part(name);
        }
        EXPECT_TRUE(results[0] == results[1]) << "seed " << seed;
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
        const auto changes = CheckedCompare(a, b, r);
        const std::string rejected = CanonicalDocument(r, Resolution::Reject);
        if (!changes.empty() || rejected != CanonicalDocument(r, Resolution::Accept)) {
            ++failed;
            ADD_FAILURE() << "seed " << seed << ": " << changes.size() << " changes, the first "
                          << (changes.empty() ? "" : changes[0].text) << "\n"
                          << FirstDifference(CanonicalDocument(a), rejected);
        }
    }
}
