// Fuzzes the comparison for wrong results, not only crashes: the fuzzer's bytes choose a
// generated document and its edits (and where runs are cut), and the result must give the
// original back when every change is rejected and the revised when every change is accepted.
// Half the inputs also choose comparison settings; those are held to the accepted view.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "support/RoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string folder = "/tmp/quorvane-roundtrip-" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    std::vector<std::uint32_t> words(data, data + size);
    std::seed_seq seed(words.begin(), words.end());
    generated::Random random(seed);
    const redline::CompareOptions options =
        size > 0 && data[0] & 1 ? DrawnSettings(random()) : redline::CompareOptions{};
    const std::string failure = RoundTripFailure(folder, random, options);
    if (!failure.empty()) {
        std::fprintf(stderr, "the round trip does not hold:\n%s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
