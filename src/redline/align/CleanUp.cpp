// The semantic clean-up of a difference script: small equalities between changes are joined
// into them, so that a rewritten phrase shows as one deletion and one insertion.
#include <vector>

#include "redline/align/Diff.h"

namespace redline {

namespace {

// An equality, or a change with what it deletes and inserts.
struct Hunk {
    bool equal;
    std::uint32_t deleted = 0, inserted = 0;  // elements
    std::uint64_t weightDeleted = 0, weightInserted = 0;
    bool light = true;    // an equality of weightless elements only
    bool pinned = false;  // an equality that holds an element never to be merged away
};

std::vector<Hunk> HunksOf(const Script& script, const std::vector<std::uint32_t>& weightA,
                          const std::vector<std::uint32_t>& weightB,
                          const std::vector<bool>& weightless, const std::vector<bool>& pinned) {
    std::vector<Hunk> hunks;
    std::uint32_t a = 0, b = 0;
    for (const Edit& edit : script) {
        if (edit.kind == EditKind::Equal) {
            Hunk hunk{true, edit.count, edit.count};
            for (std::uint32_t i = 0; i < edit.count; ++i) {
                hunk.weightDeleted += weightA[a + i];
                hunk.light = hunk.light && weightless[a + i];
                hunk.pinned = hunk.pinned || (a + i < pinned.size() && pinned[a + i]);
            }
            hunks.push_back(hunk);
            a += edit.count;
            b += edit.count;
            continue;
        }
        if (hunks.empty() || hunks.back().equal) hunks.push_back({false});
        Hunk& change = hunks.back();
        const bool deletes = edit.kind == EditKind::Delete;
        for (std::uint32_t i = 0; i < edit.count; ++i) {
            (deletes ? change.weightDeleted : change.weightInserted) +=
                deletes ? weightA[a + i] : weightB[b + i];
        }
        (deletes ? change.deleted : change.inserted) += edit.count;
        (deletes ? a : b) += edit.count;
    }
    return hunks;
}

// Joins two changes and the equality between them when the equality is no heavier than the
// larger side of either change, or weighs nothing; looks again where a join happened.
void JoinAcrossSmallEqualities(std::vector<Hunk>& hunks) {
    const auto larger = [](const Hunk& h) { return std::max(h.weightDeleted, h.weightInserted); };
    for (std::size_t i = 1; i + 1 < hunks.size();) {
        const Hunk &before = hunks[i - 1], &equal = hunks[i], &after = hunks[i + 1];
        const bool small = equal.light || (equal.weightDeleted <= larger(before) &&
                                           equal.weightDeleted <= larger(after));
        if (!equal.equal || before.equal || after.equal || !small || equal.pinned) {
            ++i;
            continue;
        }
        Hunk joined{false};
        joined.deleted = before.deleted + equal.deleted + after.deleted;
        joined.inserted = before.inserted + equal.deleted + after.inserted;
        joined.weightDeleted = before.weightDeleted + equal.weightDeleted + after.weightDeleted;
        joined.weightInserted = before.weightInserted + equal.weightDeleted + after.weightInserted;
        hunks[i - 1] = joined;
        hunks.erase(hunks.begin() + static_cast<long>(i), hunks.begin() + static_cast<long>(i) + 2);
        i = std::max<std::size_t>(1, i - 1);
    }
}

}  // namespace

Script CleanUp(const Script& script, const std::vector<std::uint32_t>& weightA,
               const std::vector<std::uint32_t>& weightB, const std::vector<bool>& weightless,
               const std::vector<bool>& pinned) {
    std::vector<Hunk> hunks = HunksOf(script, weightA, weightB, weightless, pinned);
    JoinAcrossSmallEqualities(hunks);
    Script cleaned;
    for (const Hunk& hunk : hunks) {
        if (hunk.equal) {
            cleaned.push_back({EditKind::Equal, hunk.deleted});
        } else {
            if (hunk.deleted) cleaned.push_back({EditKind::Delete, hunk.deleted});
            if (hunk.inserted) cleaned.push_back({EditKind::Insert, hunk.inserted});
        }
    }
    return cleaned;
}

}  // namespace redline
