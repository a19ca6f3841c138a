// What the document generator and its writer share: the draws every random choice goes through,
// and the comments' authors.
#pragma once

#include <string>
#include <vector>

#include "support/DocumentGenerator.h"

namespace generated {

inline const char* const kAuthors[] = {"Ann Lee", "Bo Chen", "Cy Diaz"};

inline int Pick(Random& random, int count) {
    return static_cast<int>(random() % static_cast<unsigned>(count));
}
inline bool Chance(Random& random, int percent) {
    return Pick(random, 100) < percent;
}

}  // namespace generated
