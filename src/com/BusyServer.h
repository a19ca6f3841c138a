// A server that is starting, or waiting on a dialog of its own, refuses automation calls for a
// while ("call rejected by callee"). Refused calls are made again until the server takes them
// or a time limit passes; then the failure says plainly that the server was busy.
#pragma once

#include <windows.h>

#include <objidl.h>

#include <chrono>
#include <functional>
#include <string>

#include "com/ComOwners.h"

namespace com {

// How long one call may keep being refused before it fails.
inline constexpr std::chrono::milliseconds kBusyServerLimit = std::chrono::seconds(60);

// What every object reached through one host shares about its server.
struct ServerCalls {
    // Whether the server runs in our process, which decides whether its deferred error texts
    // may be fetched.
    bool inProcess = false;
    std::chrono::milliseconds busyLimit = kBusyServerLimit;
};

bool IsBusyRefusal(HRESULT result);

// Makes `call` again, a little later each time, while the server refuses it as busy and the
// limit has not passed. COM retries through the message filter below where the platform
// supports that; this loop covers the platforms that hand the refusal straight back.
HRESULT RetryWhileBusy(std::chrono::milliseconds limit, const std::function<HRESULT()>& call);

std::string BusyServerDescription(std::chrono::milliseconds limit);

// The apartment's message filter for as long as it lives: a refused call is retried until
// the limit passes. Restores the filter that was there before.
class BusyServerFilter final : public IMessageFilter {
  public:
    explicit BusyServerFilter(std::chrono::milliseconds limit);
    ~BusyServerFilter();
    BusyServerFilter(const BusyServerFilter&) = delete;
    BusyServerFilter& operator=(const BusyServerFilter&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    // Owned by the host, never freed through COM.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override;
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD elapsed, DWORD rejectType) override;
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override;

  private:
    std::chrono::milliseconds limit_;
    ComPtr<IMessageFilter> previous_;
    bool registered_ = false;
};

}  // namespace com
