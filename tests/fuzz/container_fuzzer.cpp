// libFuzzer target: any file given to the container checks ends in an answer, never a crash, a
// hang or a read outside the file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "office/loader/DocumentCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/dev/shm/quorvane-fuzz-" + std::to_string(getpid());
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    office::CheckContainer(path);
    office::LooksLikeOldWordFormat(path);
    return 0;
}
