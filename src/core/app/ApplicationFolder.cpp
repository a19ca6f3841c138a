#include "app/ApplicationFolder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <climits>
#endif

#include <fstream>
#include <system_error>

namespace {
#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif
}  // namespace

std::filesystem::path PathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string ApplicationFolder() {
#ifdef _WIN32
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        name.resize(name.size() * 2);
    }
    const std::u8string folder = std::filesystem::path(name).parent_path().u8string();
#else
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::u8string folder = error ? u8"." : program.parent_path().u8string();
#endif
    return std::string(folder.begin(), folder.end());
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
