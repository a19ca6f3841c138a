// What the front files (Compare.cpp, Combine.cpp) share and nothing below them includes: the
// public settings translated into the stages' rules.
#pragma once

#include "redline/Compare.h"
#include "redline/write/Rules.h"

namespace redline {

// `options` as the stages take them; a date of now when none is given.
Rules RulesOf(const CompareOptions& options);

}  // namespace redline
