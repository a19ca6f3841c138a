// The out-of-process form of the fake server: an application object registered as the running
// "Word.Application", and its class registered for callers that create one out of process,
// until the event named on the command line is set (or a minute passes).
//   fakeword-running.exe READY_EVENT STOP_EVENT
//   QUORVANE_FAKE_WORD_REJECT=N  the first N automation calls are refused as busy
#include <windows.h>

#include <objidl.h>
#include <oleauto.h>

#include <cwchar>
#include <string>

#include "FakeWord.h"

namespace {

// Refuses the first calls on IDispatch, as a word processor that is still starting does.
class RefusingFilter final : public IMessageFilter {
  public:
    explicit RefusingFilter(long refusals) : left_(refusals) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
            *out = static_cast<IMessageFilter*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO call) override {
        if (left_ > 0 && call && call->iid == IID_IDispatch) {
            --left_;
            FakeWordLog("refused a call");
            return SERVERCALL_REJECTED;
        }
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override {
        return static_cast<DWORD>(-1);
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
        return PENDINGMSG_WAITDEFPROCESS;
    }

  private:
    long left_;
};

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    if (argc != 3) return 2;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
    wchar_t refusals[32] = L"0";
    GetEnvironmentVariableW(L"QUORVANE_FAKE_WORD_REJECT", refusals, 32);
    RefusingFilter filter(std::wcstol(refusals, nullptr, 10));
    IMessageFilter* previous = nullptr;
    CoRegisterMessageFilter(&filter, &previous);

    IDispatch* app = NewFakeApplication();
    DWORD registration = 0;
    if (FAILED(RegisterActiveObject(app, kFakeWordClsid, ACTIVEOBJECT_STRONG, &registration))) {
        return 4;
    }
    IClassFactory* factory = NewFakeFactory();
    DWORD classRegistration = 0;
    if (FAILED(CoRegisterClassObject(kFakeWordClsid, factory, CLSCTX_LOCAL_SERVER,
                                     REGCLS_MULTIPLEUSE, &classRegistration))) {
        return 5;
    }
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]);
    HANDLE stop = OpenEventW(SYNCHRONIZE, FALSE, argv[2]);
    if (ready) SetEvent(ready);
    // Serve calls while waiting: a single-threaded apartment needs its messages pumped.
    const DWORD end = GetTickCount() + 60000;
    while (GetTickCount() < end) {
        const DWORD woke = MsgWaitForMultipleObjects(stop ? 1 : 0, stop ? &stop : nullptr, FALSE,
                                                     100, QS_ALLINPUT);
        if (stop && woke == WAIT_OBJECT_0) break;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    CoRevokeClassObject(classRegistration);
    factory->Release();
    RevokeActiveObject(registration, nullptr);
    app->Release();
    CoRegisterMessageFilter(previous, nullptr);
    CoUninitialize();
    return 0;
}
