#include "com/ComText.h"

#include <cstdio>

namespace com {

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        length);
    return wide;
}

std::string Utf8(const wchar_t* utf16, int length) {
    if (!utf16 || length == 0) return {};
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, utf16, length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16, length, text.data(), bytes, nullptr, nullptr);
    if (length < 0 && !text.empty()) text.pop_back();  // the terminating NUL
    return text;
}

std::string Utf8FromBstr(BSTR text) {
    return text ? Utf8(text, static_cast<int>(SysStringLen(text))) : std::string();
}

namespace {

// Our own words for the codes a late-bound caller meets, since the system often has none.
const char* KnownResult(HRESULT result) {
    switch (result) {
        case DISP_E_UNKNOWNNAME:
            return "Object doesn't support this property or method.";
        case DISP_E_MEMBERNOTFOUND:
            return "Object doesn't support this property or method.";
        case DISP_E_TYPEMISMATCH:
            return "Type mismatch.";
        case DISP_E_PARAMNOTFOUND:
            return "Named argument not found.";
        case DISP_E_BADPARAMCOUNT:
            return "Wrong number of arguments.";
        case DISP_E_PARAMNOTOPTIONAL:
            return "Argument not optional.";
        case DISP_E_OVERFLOW:
            return "Overflow.";
        case DISP_E_NONAMEDARGS:
            return "The member does not accept named arguments.";
        case CO_E_CLASSSTRING:
            return "Invalid class string: the class is not registered.";
        case REGDB_E_CLASSNOTREG:
            return "Class not registered.";
        case CO_E_SERVER_EXEC_FAILURE:
            return "The automation server could not be started.";
        case MK_E_UNAVAILABLE:
            return "No running object of that class was found.";
        case RPC_E_DISCONNECTED:
            return "The automation server has disconnected from its clients.";
        case RPC_E_SERVERFAULT:
            return "The automation server failed.";
        case RPC_E_CALL_REJECTED:
            return "The automation server rejected the call.";
        case RPC_S_SERVER_UNAVAILABLE:
            return "The automation server is unavailable.";
        case E_NOINTERFACE:
            return "The object does not support automation.";
        case E_ACCESSDENIED:
            return "Access denied.";
        case E_OUTOFMEMORY:
            return "Out of memory.";
        default:
            return nullptr;
    }
}

}  // namespace

std::string DescribeResult(HRESULT result) {
    if (const char* known = KnownResult(result)) return known;
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (length > 0 && buffer) {
        text = Utf8(buffer, static_cast<int>(length));
        while (!text.empty() &&
               (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
            text.pop_back();
        }
    }
    if (buffer) LocalFree(buffer);
    if (text.empty()) {
        char code[64];
        std::snprintf(code, sizeof code, "Automation error 0x%08lX.",
                      static_cast<unsigned long>(result));
        text = code;
    }
    return text;
}

}  // namespace com
