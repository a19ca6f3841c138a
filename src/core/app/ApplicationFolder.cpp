#include "app/ApplicationFolder.h"

#include <fstream>
#include <system_error>

namespace {
constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);
}  // namespace

std::filesystem::path PathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string BelowFolder(const std::string& folder, const std::string& relative) {
    std::string path = folder;
    if (path.empty() || path.back() != kSeparator) path += kSeparator;
    for (const char c : relative) path += (c == '/' || c == '\\') ? kSeparator : c;
    return path;
}

bool ReadSmallFile(const std::string& path, std::uintmax_t largest, std::string& bytes) {
    const auto file = PathFromUtf8(path);
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (error || size > largest || !std::filesystem::is_regular_file(file, error)) return false;
    std::ifstream in(file, std::ios::binary);
    std::string read(static_cast<std::size_t>(size), '\0');
    if (!in.read(read.data(), static_cast<std::streamsize>(size))) return false;
    bytes = std::move(read);
    return true;
}

bool FileIsPresent(const std::string& path) {
    std::error_code error;
    (void)std::filesystem::last_write_time(PathFromUtf8(path), error);
    return !error;
}
