// The in-process form of the fake server: registers itself under HKLM\Software\Classes.
#include <windows.h>

#include <string>

#include "FakeWord.h"

namespace {

HMODULE module = nullptr;
const wchar_t* kClsidText = L"{6F1D4C0A-8E8B-4C55-9B7E-2F4D5A6B7C81}";

bool SetKey(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY handle = nullptr;
    const std::wstring path = L"Software\\Classes\\" + key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        &handle, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG result =
        RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) module = instance;
    return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (clsid != kFakeWordClsid) return CLASS_E_CLASSNOTAVAILABLE;
    IClassFactory* factory = NewFakeFactory();
    const HRESULT result = factory->QueryInterface(iid, out);
    factory->Release();
    return result;
}

extern "C" HRESULT __stdcall DllCanUnloadNow() {
    return LiveFakeObjects() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT __stdcall DllRegisterServer() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(module, path, MAX_PATH);
    const std::wstring clsidKey = std::wstring(L"CLSID\\") + kClsidText;
    const bool ok = SetKey(L"Word.Application", nullptr, L"Fake Word") &&
                    SetKey(L"Word.Application\\CLSID", nullptr, kClsidText) &&
                    SetKey(clsidKey, nullptr, L"Fake Word") &&
                    SetKey(clsidKey + L"\\ProgID", nullptr, L"Word.Application") &&
                    SetKey(clsidKey + L"\\InprocServer32", nullptr, path) &&
                    SetKey(clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    return ok ? S_OK : E_FAIL;
}

extern "C" HRESULT __stdcall DllUnregisterServer() {
    return S_OK;
}
