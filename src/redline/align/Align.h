// Aligning two sequences of blocks (a story's paragraphs and tables, or a table's rows): which
// stay, which changed and are compared inside, which were deleted or inserted, and which moved.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace redline {

struct Item {
    std::uint64_t text = 0, look = 0;
    int kind = 0;              // items of different kinds never pair
    std::uint32_t weight = 0;  // characters of text
};

enum class StepKind : std::uint8_t { Keep, Modify, Delete, Insert, MoveFrom, MoveTo };

struct Step {
    StepKind kind;
    int a = -1, b = -1;   // the item of each side it concerns
    int move = 0;         // for the two places of a move, the number they share
    bool unlike = false;  // a Modify of two items paired only because they end a story
};

struct AlignRules {
    // How alike two items of the same kind are, from 0 to 1; below `pairing` they are not
    // compared inside but deleted and inserted.
    std::function<double(int a, int b)> similarity;
    // When set, called once before any `similarity` with the items of each side that changed
    // stretches may pair (each side's in order), so that what similarity needs is made at once.
    std::function<void(const std::vector<int>& a, const std::vector<int>& b)> prepare;
    double pairing = 0.5;
    // Whether the one item that each side of a changed stretch holds pair however little they
    // share: a short paragraph or a row replaced in its place reads better changed inside than
    // replaced whole with its paragraph mark.
    std::function<bool(int a, int b)> pairAlone;
    // Items this heavy that leave one place and arrive unchanged at another are moves.
    bool moves = false;
    std::uint32_t movingWeight = 12;
};

// The steps, in the order the marked-up result shows them.
std::vector<Step> Align(const std::vector<Item>& a, const std::vector<Item>& b,
                        const AlignRules& rules, int& nextMove);

}  // namespace redline
