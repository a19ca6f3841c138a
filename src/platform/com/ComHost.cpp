#include "platform/com/ComHost.h"

#include <windows.h>

#include <memory>

#include "platform/automation/Error.h"
#include "platform/com/ComText.h"
#include "platform/com/DispatchObject.h"

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
    IDispatch* dispatch = nullptr;
    HRESULT result = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                      reinterpret_cast<void**>(&dispatch));
    const bool inProcess = SUCCEEDED(result);
    if (!inProcess) {
        result = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                  reinterpret_cast<void**>(&dispatch));
    }
    if (FAILED(result)) {
        throw Error("ActiveX component can't create object \"" + progId +
                    "\": " + DescribeResult(result));
    }
    return automation::Object(
        std::make_shared<DispatchObject>(dispatch, ServerCalls{inProcess, busyLimit_}));
}

automation::Object ComHost::getActive(const std::string& progId) {
    const CLSID clsid = ClassOf(progId, "No running object");
    IUnknown* unknown = nullptr;
    HRESULT result = GetActiveObject(clsid, nullptr, &unknown);
    if (FAILED(result)) {
        throw Error("No running \"" + progId + "\": " + DescribeResult(result));
    }
    IDispatch* dispatch = nullptr;
    result = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    unknown->Release();
    if (FAILED(result)) throw Error("The running \"" + progId + "\" does not support automation.");
    return automation::Object(
        std::make_shared<DispatchObject>(dispatch, ServerCalls{false, busyLimit_}));
}

}  // namespace com
