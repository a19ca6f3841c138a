#include "platform/office/FileUrl.h"

#include <unistd.h>

#include <climits>
#include <vector>

namespace office {

std::string AbsolutePath(const std::string& path) {
    if (!path.empty() && path.front() == '/') return path;
    std::vector<char> buffer(PATH_MAX);
    if (getcwd(buffer.data(), buffer.size()) == nullptr) return path;
    std::string folder(buffer.data());
    if (folder.back() != '/') folder += '/';
    return folder + path;
}

std::string FileUrlFromPath(const std::string& absolutePath) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : absolutePath) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~' ||
                           c == '/';
        if (plain) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 0xF];
        }
    }
    return url;
}

}  // namespace office
