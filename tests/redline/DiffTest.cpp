// The difference between two sequences of keys: whatever the sequences, the script turns one
// into the other through equal keys only, and it depends on which keys are equal, never on their
// values: the table that finds the keys found once on each side gives the same script for small
// keys, side by side in it, and for keys spread far apart.
#include <gtest/gtest.h>

#include <random>

#include "redline/align/Diff.h"

namespace {

// Where the script fails to turn `a` into `b`, or "".
std::string Misapplied(const redline::Keys& a, const redline::Keys& b,
                       const redline::Script& script) {
    std::size_t i = 0, j = 0;
    for (const redline::Edit& edit : script) {
        for (std::uint32_t k = 0; k < edit.count; ++k) {
            if (edit.kind != redline::EditKind::Insert && i >= a.size()) return "past the end of a";
            if (edit.kind != redline::EditKind::Delete && j >= b.size()) return "past the end of b";
            if (edit.kind == redline::EditKind::Equal && a[i] != b[j]) {
                return "unequal keys kept at " + std::to_string(i) + ", " + std::to_string(j);
            }
            if (edit.kind != redline::EditKind::Insert) ++i;
            if (edit.kind != redline::EditKind::Delete) ++j;
        }
    }
    return i == a.size() && j == b.size() ? "" : "stops short";
}

// An edit of `keys`: some replaced, removed, added or moved in runs, the rest as they were.
redline::Keys Edited(const redline::Keys& keys, std::mt19937& random, std::uint32_t alphabet) {
    redline::Keys edited;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        switch (random() % 40) {
            case 0:
                edited.push_back(static_cast<std::uint32_t>(random() % alphabet));
                break;
            case 1:
                break;
            case 2:
                for (int k = 0; k < 20; ++k) edited.push_back(random() % alphabet);
                edited.push_back(keys[i]);
                break;
            case 3:
                i += random() % 50;  // a run gone
                break;
            default:
                edited.push_back(keys[i]);
        }
    }
    return edited;
}

}  // namespace

TEST(Difference, TurnsOneSequenceIntoTheOtherWhateverTheKeysAre) {
    std::mt19937 random(11);
    // Few keys (words of a repeated phrase), many (a text of unique words), and ranges short
    // and long enough to be anchored on single keys, on runs of keys, or by Myers alone.
    for (const std::uint32_t alphabet : {2u, 28u, 5000u, 200000u}) {
        for (const std::size_t length : {0u, 1u, 7u, 300u, 1500u, 6000u}) {
            redline::Keys a;
            for (std::size_t i = 0; i < length; ++i) a.push_back(random() % alphabet);
            const redline::Keys b = Edited(a, random, alphabet);
            const redline::Script script = redline::Difference(a, b);
            EXPECT_EQ(Misapplied(a, b, script), "") << alphabet << " keys, " << length;
            // The same keys spread far apart.
            redline::Keys farA, farB;
            for (const std::uint32_t key : a) farA.push_back(key * 7919u + 1000000u);
            for (const std::uint32_t key : b) farB.push_back(key * 7919u + 1000000u);
            const redline::Script far = redline::Difference(farA, farB);
            ASSERT_EQ(far.size(), script.size()) << alphabet << " keys, " << length;
            for (std::size_t e = 0; e < far.size(); ++e) {
                EXPECT_EQ(far[e].kind, script[e].kind) << alphabet << " keys, " << length;
                EXPECT_EQ(far[e].count, script[e].count) << alphabet << " keys, " << length;
            }
        }
    }
}

TEST(Difference, KeepsEveryKeyOfAnUnchangedSequenceAndNoneOfADisjointOne) {
    redline::Keys a, b;
    for (std::uint32_t i = 0; i < 5000; ++i) a.push_back(i % 29);
    const redline::Script same = redline::Difference(a, a);
    ASSERT_EQ(same.size(), 1u);
    EXPECT_EQ(same[0].kind, redline::EditKind::Equal);
    for (std::uint32_t i = 0; i < 3000; ++i) b.push_back(100 + i % 31);
    const redline::Script disjoint = redline::Difference(a, b);
    EXPECT_EQ(Misapplied(a, b, disjoint), "");
    for (const redline::Edit& edit : disjoint) EXPECT_NE(edit.kind, redline::EditKind::Equal);
}

// On small inputs the script is a shortest one: it keeps as many keys as the longest common
// subsequence, found here the plain quadratic way.
TEST(Difference, OnSmallInputsKeepsAsManyKeysAsTheLongestCommonSubsequence) {
    std::mt19937 random(29);
    auto longest = [](const redline::Keys& a, const redline::Keys& b) {
        std::vector<std::vector<int>> at(a.size() + 1, std::vector<int>(b.size() + 1, 0));
        for (std::size_t i = 1; i <= a.size(); ++i) {
            for (std::size_t j = 1; j <= b.size(); ++j) {
                at[i][j] = a[i - 1] == b[j - 1] ? at[i - 1][j - 1] + 1
                                                : std::max(at[i - 1][j], at[i][j - 1]);
            }
        }
        return at[a.size()][b.size()];
    };
    for (int round = 0; round < 2000; ++round) {
        const std::uint32_t alphabet = 2 + random() % 30;
        redline::Keys a, b;
        for (std::size_t i = random() % 45; i > 0; --i) a.push_back(random() % alphabet);
        b = random() % 2 ? Edited(a, random, alphabet) : redline::Keys{};
        for (std::size_t i = b.empty() ? random() % 45 : 0; i > 0; --i)
            b.push_back(random() % alphabet);
        if (a.size() * b.size() > 2500) continue;  // large enough to be anchored
        const redline::Script script = redline::Difference(a, b);
        ASSERT_EQ(Misapplied(a, b, script), "");
        int kept = 0;
        for (const redline::Edit& edit : script) {
            if (edit.kind == redline::EditKind::Equal) kept += static_cast<int>(edit.count);
        }
        ASSERT_EQ(kept, longest(a, b)) << "round " << round << ", " << a.size() << " and "
                                       << b.size() << " keys of " << alphabet;
    }
}

// Longer inputs with a few edits, of few kinds of keys (a repeated phrase) or of many: whether
// anchored or searched, the script keeps nearly all that the two share, never giving up on a
// stretch that shares keys.
TEST(Difference, OnLongerInputsWithFewEditsKeepsNearlyAllTheyShare) {
    std::mt19937 random(41);
    auto longest = [](const redline::Keys& a, const redline::Keys& b) {
        std::vector<int> row(b.size() + 1, 0), next(b.size() + 1, 0);
        for (std::size_t i = 1; i <= a.size(); ++i) {
            for (std::size_t j = 1; j <= b.size(); ++j) {
                next[j] = a[i - 1] == b[j - 1] ? row[j - 1] + 1 : std::max(row[j], next[j - 1]);
            }
            std::swap(row, next);
        }
        return row[b.size()];
    };
    for (const std::uint32_t alphabet : {3u, 12u, 400u, 100000u}) {
        for (const std::size_t length : {70u, 400u, 1500u}) {
            redline::Keys a, b;
            for (std::size_t i = 0; i < length; ++i) a.push_back(random() % alphabet);
            b = a;
            for (int edit = 0; edit < 4; ++edit) {
                const std::size_t at = random() % b.size();
                if (edit % 2) {
                    b.erase(b.begin() + static_cast<long>(at));
                } else {
                    b.insert(b.begin() + static_cast<long>(at), random() % alphabet);
                }
            }
            const redline::Script script = redline::Difference(a, b);
            ASSERT_EQ(Misapplied(a, b, script), "");
            int kept = 0;
            for (const redline::Edit& edit : script) {
                if (edit.kind == redline::EditKind::Equal) kept += static_cast<int>(edit.count);
            }
            EXPECT_GE(kept, longest(a, b) - 4) << alphabet << " keys, " << length;
        }
    }
}

// Two long sequences of few keys made apart from each other: far too many differences to search
// them all, and still a script that turns one into the other.
TEST(Difference, TurnsLongUnrelatedSequencesIntoEachOtherBeyondTheSearchItAllows) {
    std::mt19937 random(43);
    for (const std::uint32_t alphabet : {2u, 5u}) {
        redline::Keys a, b;
        for (int i = 0; i < 6000; ++i) a.push_back(random() % alphabet);
        for (int i = 0; i < 5500; ++i) b.push_back(random() % alphabet);
        EXPECT_EQ(Misapplied(a, b, redline::Difference(a, b)), "") << alphabet << " keys";
    }
}

// Every other key replaced: far more differences than the search allows, but the keys kept are
// found once on each side, and they anchor the script so that every one of them stays kept.
TEST(Difference, KeepsKeysFoundOnceOnEachSideBeyondTheSearchItAllows) {
    redline::Keys a, b;
    for (std::uint32_t i = 0; i < 8000; ++i) {
        a.push_back(i);
        b.push_back(i % 2 ? 1000000 + i : i);
    }
    const redline::Script script = redline::Difference(a, b);
    ASSERT_EQ(Misapplied(a, b, script), "");
    int kept = 0;
    for (const redline::Edit& edit : script) {
        if (edit.kind == redline::EditKind::Equal) kept += static_cast<int>(edit.count);
    }
    EXPECT_EQ(kept, 4000);
}
