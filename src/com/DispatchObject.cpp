#include "com/DispatchObject.h"

#include "automation/Error.h"
#include "com/ComText.h"
#include "com/ComVariant.h"

namespace com {

using automation::Error;
using automation::NamedArgument;
using automation::Variant;

namespace {

// The text of a failed Invoke, from the server's exception information where it gave one.
std::string DescribeFailure(HRESULT result, ExceptionReport& info, bool inProcess) {
    if (result != DISP_E_EXCEPTION) return DescribeResult(result);
    // A deferred fill-in from another process arrives as a pointer into that process.
    if (info.pfnDeferredFillIn && inProcess) info.pfnDeferredFillIn(&info);
    const std::string description = Utf8FromBstr(info.bstrDescription);
    if (!description.empty()) return description;
    return info.scode ? DescribeResult(info.scode)
                      : "Automation error " + std::to_string(info.wCode) + ".";
}

}  // namespace

DispatchObject::DispatchObject(ComPtr<IDispatch> dispatch, ServerCalls server)
    : dispatch_(std::move(dispatch)), server_(server) {}

std::vector<DISPID> DispatchObject::idsOf(const std::string& member,
                                          const std::vector<std::string>& argumentNames) const {
    std::vector<std::wstring> names{Wide(member)};
    for (const std::string& name : argumentNames) names.push_back(Wide(name));
    std::vector<LPOLESTR> pointers;
    for (std::wstring& name : names) pointers.push_back(name.data());
    std::vector<DISPID> ids(names.size(), DISPID_UNKNOWN);
    const HRESULT result = RetryWhileBusy(server_.busyLimit, [&] {
        return dispatch_->GetIDsOfNames(IID_NULL, pointers.data(),
                                        static_cast<UINT>(pointers.size()), LOCALE_USER_DEFAULT,
                                        ids.data());
    });
    if (IsBusyRefusal(result)) throw Error(BusyServerDescription(server_.busyLimit));
    if (ids[0] == DISPID_UNKNOWN || (FAILED(result) && result != DISP_E_UNKNOWNNAME)) {
        throw Error("Object doesn't support this property or method: " + member);
    }
    for (std::size_t i = 1; i < ids.size(); ++i) {
        if (ids[i] == DISPID_UNKNOWN) {
            throw Error("Named argument not found: " + argumentNames[i - 1] + " (of " + member +
                        ")");
        }
    }
    return ids;
}

Variant DispatchObject::invoke(const std::string& member, DISPID id, WORD flags,
                               DISPPARAMS& parameters) {
    ScopedVariant result;
    ExceptionReport info;
    UINT badArgument = 0;
    const HRESULT hr = RetryWhileBusy(server_.busyLimit, [&] {
        return dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                                 result.get(), &info, &badArgument);
    });
    if (IsBusyRefusal(hr)) throw Error(BusyServerDescription(server_.busyLimit));
    if (FAILED(hr)) {
        std::string description = DescribeFailure(hr, info, server_.inProcess);
        if (hr == DISP_E_MEMBERNOTFOUND || hr == DISP_E_UNKNOWNNAME)
            description += " (" + member + ")";
        throw Error(description);
    }
    return FromVariant(*result, server_);
}

Variant DispatchObject::get(const std::string& name) {
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    return invoke(name, idsOf(name, {})[0], DISPATCH_PROPERTYGET, none);
}

void DispatchObject::put(const std::string& name, const Variant& value) {
    ArgumentBlock arguments;
    arguments.append(value);
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{arguments.data(), &putId, 1, 1};
    invoke(name, idsOf(name, {})[0], DISPATCH_PROPERTYPUT, parameters);
}

Variant DispatchObject::call(const std::string& name, const std::vector<Variant>& positional,
                             const std::vector<NamedArgument>& named) {
    std::vector<std::string> names;
    for (const NamedArgument& argument : named) names.push_back(argument.name);
    const std::vector<DISPID> ids = idsOf(name, names);
    // Invoke takes the named values first, in the order of their ids, then the positional
    // ones from last to first.
    ArgumentBlock arguments;
    for (const NamedArgument& argument : named) arguments.append(argument.value);
    for (auto it = positional.rbegin(); it != positional.rend(); ++it) arguments.append(*it);
    std::vector<DISPID> namedIds(ids.begin() + 1, ids.end());
    DISPPARAMS parameters{arguments.data(), namedIds.empty() ? nullptr : namedIds.data(),
                          arguments.size(), static_cast<UINT>(namedIds.size())};
    return invoke(name, ids[0], DISPATCH_METHOD | DISPATCH_PROPERTYGET, parameters);
}

Variant DispatchObject::defaultValue() {
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    return invoke("(default value)", DISPID_VALUE, DISPATCH_PROPERTYGET, none);
}

}  // namespace com
