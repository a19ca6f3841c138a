#include "com/BusyServer.h"

#include <algorithm>

namespace com {

namespace {
constexpr DWORD kFirstRetryDelay = 50;  // milliseconds, doubled up to the next
constexpr DWORD kLongestRetryDelay = 500;
}  // namespace

bool IsBusyRefusal(HRESULT result) {
    return result == RPC_E_CALL_REJECTED || result == RPC_E_SERVERCALL_RETRYLATER;
}

HRESULT RetryWhileBusy(std::chrono::milliseconds limit, const std::function<HRESULT()>& call) {
    const auto end = std::chrono::steady_clock::now() + limit;
    DWORD delay = kFirstRetryDelay;
    for (;;) {
        const HRESULT result = call();
        if (!IsBusyRefusal(result) || std::chrono::steady_clock::now() >= end) return result;
        Sleep(delay);
        delay = std::min(delay * 2, kLongestRetryDelay);
    }
}

std::string BusyServerDescription(std::chrono::milliseconds limit) {
    return "Word is busy and kept refusing the call for " +
           std::to_string(std::max<long long>(1, limit.count() / 1000)) +
           " seconds. Close any dialog box that Word shows, wait until it has finished what "
           "it is doing, and try again.";
}

BusyServerFilter::BusyServerFilter(std::chrono::milliseconds limit) : limit_(limit) {
    registered_ = SUCCEEDED(
        CoRegisterMessageFilter(this, reinterpret_cast<IMessageFilter**>(previous_.out())));
}

BusyServerFilter::~BusyServerFilter() {
    if (registered_) CoRegisterMessageFilter(previous_.get(), nullptr);
}

HRESULT BusyServerFilter::QueryInterface(REFIID iid, void** out) {
    if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
        *out = static_cast<IMessageFilter*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

DWORD BusyServerFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
    return SERVERCALL_ISHANDLED;
}

// Answers the delay before COM sends the refused call again, or -1 to let it fail.
DWORD BusyServerFilter::RetryRejectedCall(HTASK, DWORD elapsed, DWORD) {
    if (elapsed >= static_cast<DWORD>(limit_.count())) return static_cast<DWORD>(-1);
    return std::clamp<DWORD>(elapsed / 4, kFirstRetryDelay, kLongestRetryDelay);
}

DWORD BusyServerFilter::MessagePending(HTASK, DWORD, DWORD) {
    return PENDINGMSG_WAITDEFPROCESS;
}

}  // namespace com
