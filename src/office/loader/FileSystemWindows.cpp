#include <windows.h>

#include <random>

#include "office/loader/FileSystem.h"
#include "redline/FilePath.h"

namespace office {

namespace {

std::wstring Wide(const std::string& path) {
    return redline::FilePath(path).wstring();
}

// Opens `path` for `access` without keeping anyone else out; folders too.
HANDLE OpenShared(const std::string& path, DWORD access) {
    return CreateFileW(Wide(path).c_str(), access,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

std::string SystemMessage(DWORD code) {
    wchar_t* text = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = text ? text : L"";
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L'.' || message.back() == L' ')) {
        message.pop_back();
    }
    if (message.empty()) return "Windows error " + std::to_string(code);
    return redline::Utf8Path(std::filesystem::path(message));
}

}  // namespace

FileFacts FactsOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) {
        return {};
    }
    FileFacts facts;
    facts.exists = true;
    facts.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.plainFile = !facts.folder && !(data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE);
    facts.size = facts.folder
                     ? 0
                     : (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    // FILETIME counts 100 ns from 1601; time_t seconds from 1970.
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
        data.ftLastWriteTime.dwLowDateTime;
    facts.modified = static_cast<std::time_t>(ticks / 10000000 - 11644473600ULL);
    const HANDLE file = OpenShared(path, GENERIC_READ);
    facts.readable = file != INVALID_HANDLE_VALUE;
    if (facts.readable) CloseHandle(file);
    return facts;
}

std::optional<std::pair<std::uint64_t, std::uint64_t>> FileIdentity(const std::string& path) {
    const HANDLE file = OpenShared(path, 0);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    if (!known) return std::nullopt;
    return std::pair<std::uint64_t, std::uint64_t>(
        info.dwVolumeSerialNumber,
        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
}

bool FolderIsWritable(const std::string& folder) {
    // Access lists decide, not attributes: try to make a file there, gone when closed.
    const FileFacts facts = FactsOf(folder);
    if (!facts.exists || !facts.folder) return false;
    std::random_device random;
    const std::string probe = folder + "\\.quorvane-probe-" + std::to_string(random());
    const HANDLE file = CreateFileW(Wide(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

std::optional<std::string> ReplaceWith(const std::string& from, const std::string& to) {
    if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return std::nullopt;
    }
    return SystemMessage(GetLastError());
}

std::string MakePrivateFolder(const std::string& root, const std::string& prefix) {
    // The user's own temporary folder is closed to others; a folder made in it inherits that.
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string path = root + "\\" + prefix + "-" + std::to_string(random());
        if (CreateDirectoryW(Wide(path).c_str(), nullptr)) return path;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return {};
}

}  // namespace office
