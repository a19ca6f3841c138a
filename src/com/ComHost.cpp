#include "com/ComHost.h"

#include <windows.h>

#include <memory>

#include "automation/Error.h"
#include "com/ComOwners.h"
#include "com/ComText.h"
#include "com/DispatchObject.h"

namespace com {

using automation::Error;

namespace {

CLSID ClassOf(const std::string& progId, const char* doing) {
    CLSID clsid{};
    const HRESULT result = CLSIDFromProgID(Wide(progId).c_str(), &clsid);
    if (FAILED(result)) {
        throw Error(std::string(doing) + " \"" + progId + "\": " + DescribeResult(result));
    }
    return clsid;
}

}  // namespace

ComHost::ComHost(std::chrono::milliseconds busyLimit) : busyLimit_(busyLimit) {
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // Already initialised by someone else on this thread: usable, but not ours to end.
    initialised_ = SUCCEEDED(result);
    if (FAILED(result) && result != RPC_E_CHANGED_MODE) {
        throw Error("COM could not be initialised: " + DescribeResult(result));
    }
    filter_ = std::make_unique<BusyServerFilter>(busyLimit_);
}

ComHost::~ComHost() {
    filter_.reset();
    if (initialised_) CoUninitialize();
}

automation::Object ComHost::create(const std::string& progId) {
    const CLSID clsid = ClassOf(progId, "ActiveX component can't create object");
    ComPtr<IDispatch> dispatch;
    HRESULT result =
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, dispatch.out());
    const bool inProcess = SUCCEEDED(result);
    if (!inProcess) {
        result =
            CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, dispatch.out());
    }
    if (FAILED(result)) {
        throw Error("ActiveX component can't create object \"" + progId +
                    "\": " + DescribeResult(result));
    }
    return automation::Object(
        std::make_shared<DispatchObject>(std::move(dispatch), ServerCalls{inProcess, busyLimit_}));
}

automation::Object ComHost::getActive(const std::string& progId) {
    const CLSID clsid = ClassOf(progId, "No running object");
    ComPtr<IUnknown> unknown;
    HRESULT result = GetActiveObject(clsid, nullptr, reinterpret_cast<IUnknown**>(unknown.out()));
    if (FAILED(result)) {
        throw Error("No running \"" + progId + "\": " + DescribeResult(result));
    }
    ComPtr<IDispatch> dispatch;
    result = unknown->QueryInterface(IID_IDispatch, dispatch.out());
    if (FAILED(result)) throw Error("The running \"" + progId + "\" does not support automation.");
    return automation::Object(
        std::make_shared<DispatchObject>(std::move(dispatch), ServerCalls{false, busyLimit_}));
}

}  // namespace com
