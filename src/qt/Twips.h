// Window layouts are designed in twips; Qt lays out in logical pixels (96 per inch).
#pragma once

#include <cmath>

inline int Twips(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}
