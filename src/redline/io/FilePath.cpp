#include "redline/FilePath.h"

namespace redline {

namespace fs = std::filesystem;

namespace {

fs::path Plain(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

std::string Utf8Path(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path FilePath(const std::string& utf8) {
    fs::path path = Plain(utf8);
#ifdef _WIN32
    // Beyond this, Windows' functions take only the "\\?\" form of an absolute path.
    constexpr std::size_t kLongestShortPath = 240;
    if (utf8.rfind("\\\\?\\", 0) == 0) return path;
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error || absolute.native().size() < kLongestShortPath) return path;
    // The long form takes no "." or "..", and no forward slashes.
    std::wstring text = absolute.lexically_normal().make_preferred().wstring();
    if (text.rfind(L"\\\\", 0) == 0) return fs::path(L"\\\\?\\UNC\\" + text.substr(2));
    return fs::path(L"\\\\?\\" + text);
#else
    return path;
#endif
}

std::string ZipPath(const std::string& utf8) {
#ifdef _WIN32
    return Utf8Path(FilePath(utf8));
#else
    return utf8;
#endif
}

}  // namespace redline
