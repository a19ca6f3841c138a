// UTF-8 (the program's text) to and from UTF-16 (COM's), and the descriptions of COM failures.
#pragma once

#include <windows.h>

#include <string>

namespace com {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const wchar_t* utf16, int length = -1);
// A BSTR knows its own length (and may hold NULs); a plain wchar_t* must not be passed here.
std::string Utf8FromBstr(BSTR text);

// A description for a failing HRESULT: the system's text where it has one, else our own.
std::string DescribeResult(HRESULT result);

}  // namespace com
