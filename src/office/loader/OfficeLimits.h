// How long the word processor stand-in waits for the office, in one place.
#pragma once

#include <chrono>

namespace office {

struct OfficeLimits {
    // From starting the process to a working connection.
    std::chrono::milliseconds start = std::chrono::seconds(60);
    // For any one call into the office; a comparison of a few hundred pages takes seconds.
    std::chrono::milliseconds call = std::chrono::seconds(180);
    // For the office to end after it was asked to.
    std::chrono::milliseconds quit = std::chrono::seconds(10);
    // For a warm office to show that it still answers before it is given out.
    std::chrono::milliseconds ping = std::chrono::seconds(5);
    // How long a warm office, started ahead of need, waits unused before it quits.
    std::chrono::milliseconds warmIdle = std::chrono::minutes(10);
};

}  // namespace office
