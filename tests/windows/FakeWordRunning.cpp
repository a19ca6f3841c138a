// The out-of-process form of the fake server: an application object registered as the running
// "Word.Application" until the event named on the command line is set (or a minute passes).
//   fakeword-running.exe READY_EVENT STOP_EVENT
#include <windows.h>

#include <oleauto.h>

#include "FakeWord.h"

int wmain(int argc, wchar_t* argv[]) {
    if (argc != 3) return 2;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
    IDispatch* app = NewFakeApplication();
    DWORD registration = 0;
    if (FAILED(RegisterActiveObject(app, kFakeWordClsid, ACTIVEOBJECT_STRONG, &registration))) {
        return 4;
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
    RevokeActiveObject(registration, nullptr);
    app->Release();
    CoUninitialize();
    return 0;
}
