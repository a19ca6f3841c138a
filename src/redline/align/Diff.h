// The difference between two sequences of keys: anchored first on the keys that occur once on
// each side (as patience diff does), or in a long stretch without such keys on runs of keys that
// do, then Myers' O(ND) algorithm between the anchors, so that the cost grows with the
// sequences' length and their differences, never with the square of their length. A semantic
// clean-up then merges small equalities between changes.
#pragma once

#include <cstdint>
#include <vector>

namespace redline {

enum class EditKind : std::uint8_t { Equal, Delete, Insert };

struct Edit {
    EditKind kind;
    std::uint32_t count;  // elements of a (Equal, Delete) or of b (Equal, Insert)
};
using Script = std::vector<Edit>;

using Keys = std::vector<std::uint32_t>;

// Turns `a` into `b`: equal stretches, and within each changed stretch the deletions before the
// insertions. Adjacent edits of a kind are joined.
Script Difference(const Keys& a, const Keys& b);

// Merges an equality into the changes around it when it is no longer than the larger side of
// either change, or holds nothing worth keeping (`weightless`), measured by `weightA` and
// `weightB` (the size of each element), so that a rewritten phrase reads as one deletion and
// one insertion rather than a patchwork. An equality that holds a `pinned` element of a (a
// note's reference, a field, a picture) is never merged: it stays where it is, unmarked.
Script CleanUp(const Script& script, const std::vector<std::uint32_t>& weightA,
               const std::vector<std::uint32_t>& weightB, const std::vector<bool>& weightless,
               const std::vector<bool>& pinned = {});

}  // namespace redline
