#include "win32/RegistrySettingsStore.h"

#include <windows.h>

#include <vector>

#include "com/ComText.h"
#include "win32/Handles.h"

namespace {

std::string Problem(const std::string& where, const char* doing, LONG result) {
    return "The settings \"HKEY_CURRENT_USER\\" + where + "\" cannot be " + doing + ": " +
           com::DescribeResult(HRESULT_FROM_WIN32(static_cast<DWORD>(result)));
}

}  // namespace

std::string RegistrySettingsStore::read(const std::string& app, const std::string& section,
                                        const std::string& key, const std::string& fallback) {
    const std::string where = root_ + "\\" + app + "\\" + section;
    const std::wstring subKey = com::Wide(where), name = com::Wide(key);
    DWORD bytes = 0;
    LONG result = RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name.c_str(), RRF_RT_REG_SZ,
                               nullptr, nullptr, &bytes);
    if (result == ERROR_FILE_NOT_FOUND) return fallback;  // no key, section or application
    if (result != ERROR_SUCCESS) throw SettingsError(Problem(where, "read", result));
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    result = RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                          text.data(), &bytes);
    if (result != ERROR_SUCCESS) throw SettingsError(Problem(where, "read", result));
    return com::Utf8(text.data());
}

void RegistrySettingsStore::write(const std::string& app, const std::string& section,
                                  const std::string& key, const std::string& text) {
    const std::string where = root_ + "\\" + app + "\\" + section;
    win32::OwnedKey handle;
    LONG result = RegCreateKeyExW(HKEY_CURRENT_USER, com::Wide(where).c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, handle.out(), nullptr);
    if (result != ERROR_SUCCESS) throw SettingsError(Problem(where, "written", result));
    const std::wstring value = com::Wide(text);
    result = RegSetValueExW(handle.get(), com::Wide(key).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    if (result != ERROR_SUCCESS) throw SettingsError(Problem(where, "written", result));
}
