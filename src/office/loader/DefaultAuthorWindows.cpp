#include <windows.h>
#define SECURITY_WIN32
#include <secext.h>

#include <filesystem>

#include "office/loader/ComparisonSession.h"
#include "redline/FilePath.h"

namespace office {

std::string DefaultAuthor() {
    // The account's display name when the machine knows one, else its logon name.
    wchar_t name[256] = {};
    ULONG size = 256;
    if (GetUserNameExW(NameDisplay, name, &size) && name[0]) {
        return redline::Utf8Path(std::filesystem::path(name));
    }
    DWORD logon = 256;
    if (GetUserNameW(name, &logon) && name[0]) {
        return redline::Utf8Path(std::filesystem::path(name));
    }
    return "Quorvane";
}

}  // namespace office
