// What the engine's fuzzers count as a finding beside a crash.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/StrictXml.h"

// A result that a strict parser refuses, though the engine reported success.
inline void RefuseNotWellFormed(const std::string& result) {
    for (const std::string& part : NotWellFormedParts(result)) {
        std::fprintf(stderr, "a result part is not well-formed: %s\n", part.c_str());
        std::abort();
    }
}
