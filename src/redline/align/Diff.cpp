#include "redline/align/Diff.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace redline {

namespace {

// Where a key stands on one side of a range, when not at one place.
constexpr int kNowhere = -1, kTwice = -2;

class Differ {
  public:
    Differ(const Keys& a, const Keys& b) : a_(a), b_(b) {}

    Script run() {
        anchored(0, static_cast<int>(a_.size()), 0, static_cast<int>(b_.size()), 0);
        return std::move(script_);
    }

  private:
    void emit(EditKind kind, int count) {
        if (count <= 0) return;
        if (!script_.empty() && script_.back().kind == kind) {
            script_.back().count += static_cast<std::uint32_t>(count);
        } else {
            script_.push_back({kind, static_cast<std::uint32_t>(count)});
        }
    }

    // Patience: the keys found once in each range, in an order both sides agree on, split the
    // ranges into smaller ones; what remains goes to Myers.
    void anchored(int aLo, int aHi, int bLo, int bHi, int depth) {
        int prefix = 0;
        while (aLo + prefix < aHi && bLo + prefix < bHi && a_[aLo + prefix] == b_[bLo + prefix]) {
            ++prefix;
        }
        emit(EditKind::Equal, prefix);
        aLo += prefix;
        bLo += prefix;
        int suffix = 0;
        while (aHi - suffix > aLo && bHi - suffix > bLo &&
               a_[aHi - 1 - suffix] == b_[bHi - 1 - suffix]) {
            ++suffix;
        }
        aHi -= suffix;
        bHi -= suffix;
        if (nothingInCommon(aLo, aHi, bLo, bHi)) {
            // A replaced word, most often: one change, without anchors or a search for them.
            emit(EditKind::Delete, aHi - aLo);
            emit(EditKind::Insert, bHi - bLo);
            emit(EditKind::Equal, suffix);
            return;
        }
        // Anchors nest only so deep; below that, Myers alone. A side with nothing left needs
        // none, and a small range none either: Myers finds its shortest edit at little cost,
        // where an anchor on a key found once may keep it and lose more (a paragraph moved past
        // lines that repeat).
        constexpr long kSmallRange = 2500;  // pairs of keys
        const bool search = depth < 32 && aLo < aHi &&
                            bLo<bHi&& static_cast<long>(aHi - aLo) * (bHi - bLo)> kSmallRange;
        auto anchors =
            search ? uniqueCommon(aLo, aHi, bLo, bHi) : std::vector<std::pair<int, int>>{};
        int width = 1;  // of each anchor
        if (search && anchors.empty()) {
            anchors = uniqueGrams(aLo, aHi, bLo, bHi);
            width = kGram;
        }
        if (anchors.empty()) {
            myers(aLo, aHi, bLo, bHi);
        } else {
            int a = aLo, b = bLo;
            for (const auto& [x, y] : anchors) {
                anchored(a, x, b, y, depth + 1);
                emit(EditKind::Equal, width);
                a = x + width;
                b = y + width;
            }
            anchored(a, aHi, b, bHi, depth + 1);
        }
        emit(EditKind::Equal, suffix);
    }

    // Whether two small ranges, both holding something, share no key: looked at pair by pair.
    bool nothingInCommon(int aLo, int aHi, int bLo, int bHi) const {
        constexpr long kSmall = 256;  // pairs
        if (aLo == aHi || bLo == bHi || static_cast<long>(aHi - aLo) * (bHi - bLo) > kSmall) {
            return false;
        }
        for (int i = aLo; i < aHi; ++i) {
            for (int j = bLo; j < bHi; ++j) {
                if (a_[i] == b_[j]) return false;
            }
        }
        return true;
    }

    // The keys that occur exactly once in each range, as (a, b) pairs in the longest order that
    // both sides share.
    std::vector<std::pair<int, int>> uniqueCommon(int aLo, int aHi, int bLo, int bHi) const {
        auto placed = [](const Keys& keys, int lo, int hi) {
            std::vector<std::pair<std::uint32_t, int>> placed;
            placed.reserve(static_cast<std::size_t>(hi - lo));
            for (int i = lo; i < hi; ++i) placed.emplace_back(keys[i], i);
            return placed;
        };
        return LongestIncreasing(FoundOnceOnEachSide(placed(a_, aLo, aHi), placed(b_, bLo, bHi)));
    }

    // For a long range that no key found once on each side anchors (text of few words, such as
    // one repeated phrase), runs of kGram keys found once on each side anchor it instead; without
    // them the search would cost the range's length times its differences.
    static constexpr int kGram = 16;
    static constexpr int kGramsFrom = 1024;
    std::vector<std::pair<int, int>> uniqueGrams(int aLo, int aHi, int bLo, int bHi) const {
        if (aHi - aLo < kGramsFrom || bHi - bLo < kGramsFrom) return {};
        auto placed = [](const Keys& keys, int lo, int hi) {
            // A rolling hash: each run's from the one before, by the key that leaves and the
            // one that comes. Runs that share a hash are compared key by key below.
            constexpr std::uint64_t kBase = 0x100000001B3ull;
            std::uint64_t leaving = 1;  // kBase to the power kGram - 1
            for (int k = 1; k < kGram; ++k) leaving *= kBase;
            std::vector<std::pair<std::uint64_t, int>> placed;
            if (hi - lo < kGram) return placed;
            placed.reserve(static_cast<std::size_t>(hi - lo));
            std::uint64_t hash = 0;
            for (int k = 0; k < kGram; ++k) hash = hash * kBase + keys[lo + k] + 1;
            for (int i = lo;; ++i) {
                placed.emplace_back(hash, i);
                if (i + kGram >= hi) break;
                hash = (hash - (keys[i] + 1ull) * leaving) * kBase + keys[i + kGram] + 1;
            }
            return placed;
        };
        std::vector<std::pair<int, int>> anchors;
        for (const auto& [x, y] :
             LongestIncreasing(FoundOnceOnEachSide(placed(a_, aLo, aHi), placed(b_, bLo, bHi)))) {
            // Anchors do not overlap, and a hash that two different runs share anchors nothing.
            if (!anchors.empty() &&
                (x < anchors.back().first + kGram || y < anchors.back().second + kGram)) {
                continue;
            }
            if (std::equal(a_.begin() + x, a_.begin() + x + kGram, b_.begin() + y)) {
                anchors.emplace_back(x, y);
            }
        }
        return anchors;
    }

    // Of keys with their places on each side (in order), those found exactly once on each, as
    // (a, b) places ordered by b: counted in a table open to any key, in time linear in their
    // number.
    template <typename Key>
    static std::vector<std::pair<int, int>> FoundOnceOnEachSide(
        const std::vector<std::pair<Key, int>>& inA, const std::vector<std::pair<Key, int>>& inB) {
        struct Slot {
            Key key{};
            bool used = false;
            int a = kNowhere, b = kNowhere;  // its place on each side, kNowhere or kTwice
        };
        int bits = 4;
        while ((std::size_t{1} << bits) < 2 * (inA.size() + inB.size())) ++bits;
        const std::size_t size = std::size_t{1} << bits;
        std::vector<Slot> table(size);
        auto slot = [&](Key key) -> Slot& {
            // Fibonacci hashing: the product's top bits.
            std::size_t at = static_cast<std::size_t>(
                (static_cast<std::uint64_t>(key) * 0x9E3779B97F4A7C15ull) >> (64 - bits));
            while (table[at].used && table[at].key != key) at = (at + 1) & (size - 1);
            table[at].used = true;
            table[at].key = key;
            return table[at];
        };
        for (const auto& [key, place] : inA) {
            Slot& found = slot(key);
            found.a = found.a == kNowhere ? place : kTwice;
        }
        for (const auto& [key, place] : inB) {
            Slot& found = slot(key);
            found.b = found.b == kNowhere ? place : kTwice;
        }
        std::vector<std::pair<int, int>> pairs;
        for (const auto& [key, place] : inB) {
            const Slot& found = slot(key);
            if (found.a >= 0 && found.b == place) pairs.emplace_back(found.a, place);
        }
        return pairs;
    }

    // Of pairs ordered by b, the longest run also ordered by a (patience sorting).
    static std::vector<std::pair<int, int>> LongestIncreasing(
        const std::vector<std::pair<int, int>>& pairs) {
        std::vector<int> tails, previous(pairs.size(), -1);
        for (int i = 0; i < static_cast<int>(pairs.size()); ++i) {
            const auto at =
                std::lower_bound(tails.begin(), tails.end(), pairs[i].first,
                                 [&](int t, int value) { return pairs[t].first < value; });
            if (at != tails.begin()) previous[i] = *(at - 1);
            if (at == tails.end()) {
                tails.push_back(i);
            } else {
                *at = i;
            }
        }
        std::vector<std::pair<int, int>> chain;
        for (int i = tails.empty() ? -1 : tails.back(); i >= 0; i = previous[i])
            chain.push_back(pairs[i]);
        std::reverse(chain.begin(), chain.end());
        return chain;
    }

    // Myers' linear-space algorithm: the middle snake of the shortest edit, then both halves.
    void myers(int aLo, int aHi, int bLo, int bHi) {
        while (aLo < aHi && bLo < bHi && a_[aLo] == b_[bLo]) {
            emit(EditKind::Equal, 1);
            ++aLo;
            ++bLo;
        }
        int suffix = 0;
        while (aHi > aLo && bHi > bLo && a_[aHi - 1] == b_[bHi - 1]) {
            --aHi;
            --bHi;
            ++suffix;
        }
        if (aLo == aHi || bLo == bHi || !shareAnyKey(aLo, aHi, bLo, bHi)) {
            // Nothing in common (every paragraph edited, two different documents): one change,
            // found without searching.
            emit(EditKind::Delete, aHi - aLo);
            emit(EditKind::Insert, bHi - bLo);
        } else {
            int x = 0, y = 0, u = 0, v = 0;
            if (middleSnake(aLo, aHi, bLo, bHi, x, y, u, v)) {
                myers(aLo, x, bLo, y);
                emit(EditKind::Equal, u - x);
                myers(u, aHi, v, bHi);
            } else {
                // Too different to be worth the search: one change for the whole stretch.
                emit(EditKind::Delete, aHi - aLo);
                emit(EditKind::Insert, bHi - bLo);
            }
        }
        emit(EditKind::Equal, suffix);
    }

    bool shareAnyKey(int aLo, int aHi, int bLo, int bHi) const {
        if (aHi - aLo < 64 || bHi - bLo < 64) return true;  // not worth a set
        const std::unordered_set<std::uint32_t> keys(a_.begin() + aLo, a_.begin() + aHi);
        for (int j = bLo; j < bHi; ++j) {
            if (keys.count(b_[j])) return true;
        }
        return false;
    }

    // Finds the middle snake (x, y) to (u, v); answers false when the edit is longer than the
    // search is allowed to go.
    bool middleSnake(int aLo, int aHi, int bLo, int bHi, int& x, int& y, int& u, int& v) {
        const int n = aHi - aLo, m = bHi - bLo, delta = n - m;
        const bool odd = delta % 2 != 0;
        const int most = std::min((n + m + 1) / 2, kLongestSearch);
        const int offset = most + 1;
        forward_.assign(2 * offset + 2, 0);
        backward_.assign(2 * offset + 2, 0);
        for (int d = 0; d <= most; ++d) {
            for (int k = -d; k <= d; k += 2) {
                int fx =
                    (k == -d || (k != d && forward_[offset + k - 1] < forward_[offset + k + 1]))
                        ? forward_[offset + k + 1]
                        : forward_[offset + k - 1] + 1;
                int fy = fx - k;
                const int sx = fx, sy = fy;
                while (fx < n && fy < m && a_[aLo + fx] == b_[bLo + fy]) {
                    ++fx;
                    ++fy;
                }
                forward_[offset + k] = fx;
                const int back = delta - k;
                if (odd && back >= -(d - 1) && back <= d - 1 &&
                    fx + backward_[offset + back] >= n) {
                    x = aLo + sx, y = bLo + sy, u = aLo + fx, v = bLo + fy;
                    return true;
                }
            }
            for (int k = -d; k <= d; k += 2) {
                int bx =
                    (k == -d || (k != d && backward_[offset + k - 1] < backward_[offset + k + 1]))
                        ? backward_[offset + k + 1]
                        : backward_[offset + k - 1] + 1;
                int by = bx - k;
                const int sx = bx, sy = by;
                while (bx < n && by < m && a_[aHi - 1 - bx] == b_[bHi - 1 - by]) {
                    ++bx;
                    ++by;
                }
                backward_[offset + k] = bx;
                const int front = delta - k;
                if (!odd && front >= -d && front <= d && bx + forward_[offset + front] >= n) {
                    x = aHi - bx, y = bHi - by, u = aHi - sx, v = bHi - sy;
                    return true;
                }
            }
        }
        return false;
    }

    // Beyond this many differences in one stretch, the stretch is one change: the search costs
    // the square of the differences it looks through.
    static constexpr int kLongestSearch = 2048;

    const Keys& a_;
    const Keys& b_;
    Script script_;
    std::vector<int> forward_, backward_;
};

}  // namespace

Script Difference(const Keys& a, const Keys& b) {
    Script script = Differ(a, b).run();
    // Within a changed stretch, deletions go before insertions.
    Script ordered;
    for (std::size_t i = 0; i < script.size();) {
        if (script[i].kind == EditKind::Equal) {
            ordered.push_back(script[i++]);
            continue;
        }
        std::uint32_t deleted = 0, inserted = 0;
        for (; i < script.size() && script[i].kind != EditKind::Equal; ++i) {
            (script[i].kind == EditKind::Delete ? deleted : inserted) += script[i].count;
        }
        if (deleted) ordered.push_back({EditKind::Delete, deleted});
        if (inserted) ordered.push_back({EditKind::Insert, inserted});
    }
    return ordered;
}

}  // namespace redline
