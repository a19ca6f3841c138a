// The check that a comparison can be trusted: rejecting every change of its result gives the
// original and accepting every change the revised, read through the canonical reading.
#pragma once

#include <cstdint>
#include <string>

#include "redline/Compare.h"
#include "support/DocumentGenerator.h"

// How large a generated pair is: 0 for a few blocks and edits drawn at random.
struct PairSize {
    int blocks = 0, edits = 0;
    // The original's paragraphs joined into one long paragraph, before it is edited.
    bool oneParagraph = false;
};

// Compares a random document with a random edit of it, both written with runs cut at random,
// inside `folder`; answers what went wrong (the edits and the first difference of each view),
// or "" when the round trip holds. Settings that leave something out are only held to the
// accepted view: the rejected one may then differ from the original in what they leave out.
std::string RoundTripFailure(const std::string& folder, generated::Random& random,
                             const redline::CompareOptions& options = {}, PairSize size = {});

// Makes a random pair, and of it a counterpart's copy that holds every edit as a tracked change
// of "Counterparty", and compares that copy with the original and with itself.
struct TrackedRoundTrip {
    // What must always hold, and did not: accepting all gives the edited document, the copy
    // compared with itself lists nothing, the results break no rule; "" when all held.
    std::string failure, problems;
    // What is measured: rejecting all gives the original (with itself: the copy's rejected
    // view); every listed change is the counterpart's; every tracked change found its place.
    bool rejected = false, selfRejected = false, attributed = false, selfKept = false;
};
// `schemas`: the results are held to the schemas too (a sample: it takes its time).
TrackedRoundTrip TrackedRoundTripOf(const std::string& folder, generated::Random& random,
                                    bool schemas = false);

// Comparison settings drawn from the bits of `draw`: each on or off.
redline::CompareOptions DrawnSettings(std::uint32_t draw);

// The first line where the two texts differ, with the line before it, for a reader.
std::string FirstDifference(const std::string& expected, const std::string& actual);

// How reviewers' copies of one document differ: each edits a stretch of its own; all edit
// anywhere; or all make the same edits.
enum class Reviewing { Apart, Overlapping, Alike };

// Combines `reviewers` random copies of a random document inside `folder` and checks the
// result: rejecting every change gives the original; apart, accepting every change gives every
// reviewer's edits applied and accepting one reviewer's alone that reviewer's copy; overlapping,
// every word a reviewer added is in what accepting gives and conflicts name each other; alike,
// accepting gives the copy and every change is listed under every name. Answers what went
// wrong, or "".
std::string CombineRoundTripFailure(const std::string& folder, generated::Random& random,
                                    int reviewers, Reviewing reviewing);
