// Replays a fuzz target's corpus without libFuzzer, so that the inputs the fuzzers kept run in
// the sanitized unit suites on every build: every file named, and every file in every folder
// named, in name order. A finding aborts, as it does under the fuzzer.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (fs::is_directory(argv[i])) {
            for (const auto& entry : fs::directory_iterator(argv[i]))
                if (entry.is_regular_file()) inputs.push_back(entry.path());
        } else {
            inputs.emplace_back(argv[i]);
        }
    }
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "replay: %s cannot be read\n", input.c_str());
            return 1;
        }
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    // The targets work in a folder of their own below /tmp.
    std::error_code ignored;
    fs::remove_all("/tmp/quorvane-fuzz-" + std::to_string(getpid()), ignored);
    std::printf("replay: %zu inputs\n", inputs.size());
    return inputs.empty() ? 1 : 0;
}
