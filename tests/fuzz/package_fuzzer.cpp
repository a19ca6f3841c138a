// Fuzzes the engine's package reader: any bytes as a .docx, compared with a small document and
// with itself, and read back. Every failure must be a BadDocument, never a crash or a hang.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "Findings.h"
#include "redline/Compare.h"
#include "support/ReadText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string folder = "/tmp/quorvane-fuzz-" + std::to_string(getpid());
    static const bool made = std::filesystem::create_directories(folder);
    (void)made;
    const std::string input = folder + "/input.docx", result = folder + "/result.docx";
    std::ofstream(input, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    try {
        redline::CompareDocuments(input, input, result);
        RefuseNotWellFormed(result);
        redline::ReadText(result, redline::Reading::RejectAll);
    } catch (const redline::BadDocument&) {
    } catch (const std::runtime_error&) {  // a result that cannot be written
    }
    return 0;
}
