#include "FakeWord.h"

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

LONG liveObjects = 0;

std::wstring Environment(const wchar_t* name, const wchar_t* fallback) {
    wchar_t value[1024];
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return (length > 0 && length < 1024) ? std::wstring(value, length) : std::wstring(fallback);
}

std::string Narrow(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

void Log(const std::string& line) {
    const std::wstring path = Environment(L"QUORVANE_FAKE_WORD_LOG", L"C:\\fakeword.log");
    if (FILE* f = _wfopen(path.c_str(), L"ab")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

std::string Describe(const VARIANT& v) {
    switch (v.vt) {
        case VT_EMPTY:
            return "VT_EMPTY";
        case VT_I4:
            return "VT_I4 " + std::to_string(v.lVal);
        case VT_I2:
            return "VT_I2 " + std::to_string(v.iVal);
        case VT_BOOL:
            return "VT_BOOL " + std::to_string(v.boolVal);
        case VT_BSTR:
            return "VT_BSTR \"" + Narrow(v.bstrVal ? v.bstrVal : L"") + "\"";
        case VT_BYREF | VT_BSTR:
            return "VT_BYREF|VT_BSTR \"" + Narrow(*v.pbstrVal ? *v.pbstrVal : L"") + "\"";
        case VT_DISPATCH:
            return "VT_DISPATCH";
        default:
            return "VT_" + std::to_string(v.vt);
    }
}

enum class Kind { Application, Documents, Document };

const char* KindName(Kind kind) {
    switch (kind) {
        case Kind::Application:
            return "Application";
        case Kind::Documents:
            return "Documents";
        case Kind::Document:
            return "Document";
    }
    return "?";
}

// Members and the names of their arguments; a name's id is its position plus one.
struct Member {
    Kind kind;
    DISPID id;
    const wchar_t* name;
    std::vector<const wchar_t*> arguments;
};

const Member kMembers[] = {
    {Kind::Application, 1, L"Documents", {}},
    {Kind::Application, 2, L"DisplayAlerts", {}},
    {Kind::Application, 3, L"Visible", {}},
    {Kind::Application, 4, L"Quit", {L"SaveChanges"}},
    {Kind::Application, DISPID_VALUE, L"Name", {}},
    {Kind::Documents,
     1,
     L"Open",
     {L"FileName", L"ConfirmConversions", L"ReadOnly", L"AddToRecentFiles", L"PasswordDocument",
      L"Visible"}},
    {Kind::Document,
     1,
     L"Merge",
     {L"FileName", L"MergeTarget", L"DetectFormatChanges", L"UseFormattingFrom",
      L"AddToRecentFiles"}},
    {Kind::Document, 2, L"Close", {L"SaveChanges"}},
    {Kind::Document, 3, L"SaveAs2", {L"FileName", L"FileFormat", L"AddToRecentFiles"}},
};

const Member* Find(Kind kind, DISPID id) {
    for (const Member& m : kMembers) {
        if (m.kind == kind && m.id == id) return &m;
    }
    return nullptr;
}

// IUnknown for one interface: the object deletes itself when its last reference goes.
template <typename Interface, const IID& kInterfaceId>
class Unknown : public Interface {
  public:
    virtual ~Unknown() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == kInterfaceId) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&refs_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

  private:
    LONG refs_ = 1;
};

// The text of a method's argument `name`, given by name or by position; empty when not given.
std::wstring TextArgument(const Member& member, const DISPPARAMS& params, const wchar_t* name) {
    DISPID wanted = 0;
    for (std::size_t a = 0; a < member.arguments.size(); ++a) {
        if (_wcsicmp(member.arguments[a], name) == 0) wanted = static_cast<DISPID>(a + 1);
    }
    const VARIANT* value = nullptr;
    for (UINT i = 0; i < params.cNamedArgs; ++i) {
        if (params.rgdispidNamedArgs[i] == wanted) value = &params.rgvarg[i];
    }
    const UINT positional = params.cArgs - params.cNamedArgs;
    if (!value && wanted > 0 && static_cast<UINT>(wanted) <= positional) {
        value = &params.rgvarg[params.cArgs - static_cast<UINT>(wanted)];
    }
    if (!value) return {};
    if (value->vt == VT_BSTR && value->bstrVal) return value->bstrVal;
    if (value->vt == (VT_BYREF | VT_BSTR) && *value->pbstrVal) return *value->pbstrVal;
    if (value->vt == VT_I4) return std::to_wstring(value->lVal);
    return {};
}

// Saving as: a Word 97 document "X.doc" converts into the twin "X.docx" a test put beside it;
// any other document is stored as it is.
void SaveAs(const std::wstring& opened, const std::wstring& target) {
    const std::wstring twin = opened + L"x";
    const bool converted = GetFileAttributesW(twin.c_str()) != INVALID_FILE_ATTRIBUTES;
    CopyFileW((converted ? twin : opened).c_str(), target.c_str(), FALSE);
}

class FakeObject final : public Unknown<IDispatch, IID_IDispatch> {
  public:
    explicit FakeObject(Kind kind, std::wstring file = {}) : kind_(kind), file_(std::move(file)) {
        InterlockedIncrement(&liveObjects);
    }
    ~FakeObject() override {
        Log(std::string("release ") + KindName(kind_));
        InterlockedDecrement(&liveObjects);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        const Member* member = nullptr;
        for (const Member& m : kMembers) {
            if (m.kind == kind_ && _wcsicmp(m.name, names[0]) == 0) member = &m;
        }
        HRESULT result = S_OK;
        ids[0] = member ? member->id : DISPID_UNKNOWN;
        if (!member) result = DISP_E_UNKNOWNNAME;
        for (UINT i = 1; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
            for (std::size_t a = 0; member && a < member->arguments.size(); ++a) {
                if (_wcsicmp(member->arguments[a], names[i]) == 0)
                    ids[i] = static_cast<DISPID>(a + 1);
            }
            if (ids[i] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
        }
        return result;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* info, UINT*) override {
        const Member* member = Find(kind_, id);
        if (!member) return DISP_E_MEMBERNOTFOUND;
        std::string line = std::string(KindName(kind_)) + "." + Narrow(member->name);
        if (flags & DISPATCH_PROPERTYPUT) {
            line += " = " + Describe(params->rgvarg[0]);
        } else if (flags & DISPATCH_METHOD) {
            // Named values come first in rgvarg, then the positional ones from last to first.
            std::string list;
            const UINT named = params->cNamedArgs;
            for (UINT i = params->cArgs; i > named; --i) {
                list += (list.empty() ? "" : ", ") + Describe(params->rgvarg[i - 1]);
            }
            for (UINT i = 0; i < named; ++i) {
                const DISPID argument = params->rgdispidNamedArgs[i];
                list += (list.empty() ? "" : ", ") +
                        Narrow(member->arguments.at(static_cast<std::size_t>(argument - 1))) +
                        ":=" + Describe(params->rgvarg[i]);
            }
            line += "(" + list + ")";
        }
        Log(line);

        const std::wstring failing = Environment(L"QUORVANE_FAKE_WORD_FAIL", L"");
        const std::wstring prefix = std::wstring(member->name) + L"=";
        if (failing.rfind(prefix, 0) == 0 && info) {
            *info = EXCEPINFO{};
            info->wCode = 1001;
            info->bstrSource = SysAllocString(L"Fake Word");
            info->bstrDescription = SysAllocString(failing.substr(prefix.size()).c_str());
            return DISP_E_EXCEPTION;
        }
        if (result) VariantInit(result);
        if (member->kind == Kind::Application && id == 1 && result) {
            result->vt = VT_DISPATCH;
            result->pdispVal = new FakeObject(Kind::Documents);
        } else if (member->kind == Kind::Documents && result) {
            result->vt = VT_DISPATCH;
            result->pdispVal =
                new FakeObject(Kind::Document, TextArgument(*member, *params, L"FileName"));
        } else if (member->kind == Kind::Document && id == 3) {
            SaveAs(file_, TextArgument(*member, *params, L"FileName"));
        } else if (id == DISPID_VALUE && result) {
            result->vt = VT_BSTR;
            result->bstrVal =
                SysAllocString(Environment(L"QUORVANE_FAKE_WORD_NAME", L"Microsoft Word").c_str());
        }
        return S_OK;
    }

  private:
    Kind kind_;
    std::wstring file_;  // a document's file, as it was opened
};

class FakeFactory final : public Unknown<IClassFactory, IID_IClassFactory> {
  public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        Log("create Application");
        IDispatch* app = NewFakeApplication();
        const HRESULT result = app->QueryInterface(iid, out);
        app->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

}  // namespace

IDispatch* NewFakeApplication() {
    return new FakeObject(Kind::Application);
}
IClassFactory* NewFakeFactory() {
    return new FakeFactory;
}
LONG LiveFakeObjects() {
    return liveObjects;
}
void FakeWordLog(const char* line) {
    Log(line);
}
