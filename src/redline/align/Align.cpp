#include "redline/align/Align.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>
#include <utility>

#include "redline/align/Diff.h"

namespace redline {

namespace {

Keys KeysOf(const std::vector<Item>& items, std::unordered_map<std::uint64_t, std::uint32_t>& ids) {
    Keys keys;
    keys.reserve(items.size());
    for (const Item& item : items) {
        const std::uint64_t key = item.text * 31 + static_cast<std::uint64_t>(item.kind);
        keys.push_back(ids.try_emplace(key, static_cast<std::uint32_t>(ids.size())).first->second);
    }
    return keys;
}

// A stretch too large to weigh every pair: walks both sides together, pairing in place.
template <typename Score>
std::vector<std::pair<int, int>> PairInPlace(const std::vector<int>& as, const std::vector<int>& bs,
                                             const Score& score) {
    const int n = static_cast<int>(as.size()), m = static_cast<int>(bs.size());
    std::vector<std::pair<int, int>> pairs;
    for (int i = 0, j = 0; i < n && j < m;) {
        if (score(i, j) >= 0) {
            pairs.emplace_back(as[i++], bs[j++]);
        } else if (n - i > m - j) {
            ++i;
        } else {
            ++j;
        }
    }
    return pairs;
}

// The pairs of highest total likeness, in an order both sides keep, from the likeness of each
// pair near the stretch's diagonal (-1: not to be paired).
std::vector<std::pair<int, int>> PairBest(const std::vector<int>& as, const std::vector<int>& bs,
                                          const std::vector<double>& scores) {
    const int n = static_cast<int>(as.size()), m = static_cast<int>(bs.size());
    auto scored = [&](int i, int j) { return scores[static_cast<std::size_t>(i) * m + j]; };
    // best[i][j]: the highest sum for the first i of a and the first j of b.
    std::vector<double> best(static_cast<std::size_t>(n + 1) * (m + 1), 0.0);
    auto at = [&](int i, int j) -> double& {
        return best[static_cast<std::size_t>(i) * (m + 1) + j];
    };
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= m; ++j) {
            const double pair = scored(i - 1, j - 1);
            at(i, j) =
                std::max({at(i - 1, j), at(i, j - 1), pair >= 0 ? at(i - 1, j - 1) + pair : 0.0});
        }
    }
    std::vector<std::pair<int, int>> pairs;
    for (int i = n, j = m; i > 0 && j > 0;) {
        const double pair = scored(i - 1, j - 1);
        if (pair >= 0 && at(i, j) == at(i - 1, j - 1) + pair) {
            pairs.emplace_back(as[i - 1], bs[j - 1]);
            --i;
            --j;
        } else if (at(i, j) == at(i - 1, j)) {
            --i;
        } else {
            --j;
        }
    }
    std::reverse(pairs.begin(), pairs.end());
    return pairs;
}

// The pairs of a changed stretch worth comparing inside, in an order both sides keep, as
// alike as possible in sum. Large stretches are paired greedily instead.
std::vector<std::pair<int, int>> PairUp(const std::vector<int>& as, const std::vector<int>& bs,
                                        const AlignRules& rules, const std::vector<Item>& a,
                                        const std::vector<Item>& b) {
    auto score = [&](int i, int j) {
        if (a[as[i]].kind != b[bs[j]].kind) return -1.0;
        const double alike = rules.similarity(as[i], bs[j]);
        return alike >= rules.pairing ? alike : -1.0;
    };
    const int n = static_cast<int>(as.size()), m = static_cast<int>(bs.size());
    if (n == 1 && m == 1 && a[as[0]].kind == b[bs[0]].kind && rules.pairAlone &&
        rules.pairAlone(as[0], bs[0]) && score(0, 0) < 0) {
        return {{as[0], bs[0]}};
    }
    if (static_cast<long>(n) * m > 40'000) return PairInPlace(as, bs, score);
    // Pairs lie near the stretch's diagonal: an item is only paired with those of the other side
    // within a band around its place, so that the cost grows with the stretch, not its square.
    // Small stretches lie within the band whole.
    constexpr int kBand = 8;
    auto near = [&](int i, int j) {
        const long diagonal = static_cast<long>(i) * m / std::max(n, 1);
        return std::abs(diagonal - j) <= kBand + std::abs(n - m);
    };
    std::vector<double> scores(static_cast<std::size_t>(n) * m, -1.0);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < m; ++j) {
            if (near(i, j)) scores[static_cast<std::size_t>(i) * m + j] = score(i, j);
        }
    }
    return PairBest(as, bs, scores);
}

// The moves of a script: each heavy item deleted at one place and inserted unchanged at
// another gets the same number on both sides (0 for those that did not move).
void FindMoves(const Script& script, const Keys& keysA, const Keys& keysB,
               const std::vector<Item>& a, const AlignRules& rules, int& nextMove,
               std::vector<int>& movedA, std::vector<int>& movedB) {
    std::unordered_multimap<std::uint32_t, int> inserted;
    int i = 0, j = 0;
    for (const Edit& edit : script) {
        for (std::uint32_t k = 0; k < edit.count && edit.kind == EditKind::Insert; ++k) {
            inserted.emplace(keysB[j + k], j + k);
        }
        if (edit.kind != EditKind::Delete) j += static_cast<int>(edit.count);
    }
    for (const Edit& edit : script) {
        for (std::uint32_t k = 0; k < edit.count && edit.kind == EditKind::Delete; ++k) {
            const int from = i + static_cast<int>(k);
            const auto found = inserted.find(keysA[from]);
            if (a[from].weight < rules.movingWeight || found == inserted.end()) continue;
            movedA[from] = movedB[found->second] = ++nextMove;
            inserted.erase(found);
        }
        if (edit.kind != EditKind::Insert) i += static_cast<int>(edit.count);
    }
}

// The items of each side that a changed stretch may pair: those that did not move, in stretches
// where neither side is left without such items.
std::pair<std::vector<int>, std::vector<int>> Pairable(const Script& script,
                                                       const std::vector<int>& movedA,
                                                       const std::vector<int>& movedB) {
    std::pair<std::vector<int>, std::vector<int>> pairable;
    std::vector<int> as, bs;
    auto flush = [&] {
        if (!as.empty() && !bs.empty()) {
            pairable.first.insert(pairable.first.end(), as.begin(), as.end());
            pairable.second.insert(pairable.second.end(), bs.begin(), bs.end());
        }
        as.clear();
        bs.clear();
    };
    int i = 0, j = 0;
    for (const Edit& edit : script) {
        if (edit.kind == EditKind::Equal) {
            flush();
            i += static_cast<int>(edit.count);
            j += static_cast<int>(edit.count);
            continue;
        }
        const bool deleted = edit.kind == EditKind::Delete;
        int& at = deleted ? i : j;
        const std::vector<int>& moved = deleted ? movedA : movedB;
        std::vector<int>& side = deleted ? as : bs;
        for (std::uint32_t k = 0; k < edit.count; ++k, ++at) {
            if (!moved[at]) side.push_back(at);
        }
    }
    flush();
    return pairable;
}

// Writes the steps of one changed stretch: the pairs compared inside, and between them what
// was deleted, then what was inserted, each at its place.
class Stretch {
  public:
    Stretch(const std::vector<Item>& a, const std::vector<Item>& b, const AlignRules& rules,
            const std::vector<int>& movedA, const std::vector<int>& movedB,
            std::vector<Step>& steps)
        : a_(a), b_(b), rules_(rules), movedA_(movedA), movedB_(movedB), steps_(steps) {}

    void flush(std::vector<int>& as, std::vector<int>& bs) {
        std::vector<int> restA, restB;
        for (int x : as) {
            if (!movedA_[x]) restA.push_back(x);
        }
        for (int y : bs) {
            if (!movedB_[y]) restB.push_back(y);
        }
        std::size_t ia = 0, ib = 0;
        for (const auto& [x, y] : PairUp(restA, restB, rules_, a_, b_)) {
            until(as, bs, ia, ib, x, y);
            steps_.push_back({StepKind::Modify, x, y});
            ++ia;
            ++ib;
        }
        until(as, bs, ia, ib, static_cast<int>(a_.size()), static_cast<int>(b_.size()));
        as.clear();
        bs.clear();
    }

  private:
    void until(const std::vector<int>& as, const std::vector<int>& bs, std::size_t& ia,
               std::size_t& ib, int pairA, int pairB) {
        for (; ia < as.size() && as[ia] < pairA; ++ia) {
            const int x = as[ia];
            steps_.push_back(
                {movedA_[x] ? StepKind::MoveFrom : StepKind::Delete, x, -1, movedA_[x]});
        }
        for (; ib < bs.size() && bs[ib] < pairB; ++ib) {
            const int y = bs[ib];
            steps_.push_back({movedB_[y] ? StepKind::MoveTo : StepKind::Insert, -1, y, movedB_[y]});
        }
    }

    const std::vector<Item>& a_;
    const std::vector<Item>& b_;
    const AlignRules& rules_;
    const std::vector<int>& movedA_;
    const std::vector<int>& movedB_;
    std::vector<Step>& steps_;
};

}  // namespace

std::vector<Step> Align(const std::vector<Item>& a, const std::vector<Item>& b,
                        const AlignRules& rules, int& nextMove) {
    std::unordered_map<std::uint64_t, std::uint32_t> ids;
    const Keys keysA = KeysOf(a, ids), keysB = KeysOf(b, ids);
    const Script script = Difference(keysA, keysB);
    std::vector<int> movedA(a.size(), 0), movedB(b.size(), 0);
    if (rules.moves) FindMoves(script, keysA, keysB, a, rules, nextMove, movedA, movedB);

    if (rules.prepare) {
        const auto [pairableA, pairableB] = Pairable(script, movedA, movedB);
        rules.prepare(pairableA, pairableB);
    }

    std::vector<Step> steps;
    Stretch stretch(a, b, rules, movedA, movedB, steps);
    std::vector<int> as, bs;
    int i = 0, j = 0;
    for (const Edit& edit : script) {
        if (edit.kind == EditKind::Equal) {
            stretch.flush(as, bs);
            for (std::uint32_t k = 0; k < edit.count; ++k, ++i, ++j) {
                steps.push_back({a[i].look == b[j].look ? StepKind::Keep : StepKind::Modify, i, j});
            }
        } else if (edit.kind == EditKind::Delete) {
            for (std::uint32_t k = 0; k < edit.count; ++k) as.push_back(i++);
        } else {
            for (std::uint32_t k = 0; k < edit.count; ++k) bs.push_back(j++);
        }
    }
    stretch.flush(as, bs);
    return steps;
}

}  // namespace redline
