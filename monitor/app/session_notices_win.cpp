#include "monitor/app/session_notices_win.h"

namespace monitor {

namespace {

// DEVICE_NOTIFY_WINDOW_HANDLE and NOTIFY_FOR_THIS_SESSION.
constexpr DWORD kNotifyWindowHandle = 0;
constexpr DWORD kNotifyForThisSession = 0;
constexpr DWORD kNoConsoleSession = 0xFFFFFFFF;

using RegisterSuspendResumeFn = HANDLE(WINAPI*)(HANDLE recipient, DWORD flags);
using UnregisterSuspendResumeFn = BOOL(WINAPI*)(HANDLE registration);
using RegisterSessionFn = BOOL(WINAPI*)(HWND window, DWORD flags);
using UnregisterSessionFn = BOOL(WINAPI*)(HWND window);

template <class Fn>
Fn Lookup(HMODULE module, const char* name) {
    if (module == nullptr)
        return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

bool SuspendResumeTraits::Close(HANDLE registration) {
    const auto unregister = Lookup<UnregisterSuspendResumeFn>(
        GetModuleHandleA("user32.dll"), "UnregisterSuspendResumeNotification");
    return unregister != nullptr && unregister(registration) != FALSE;
}

bool SessionRegistrationTraits::Close(HWND window) {
    const auto unregister = Lookup<UnregisterSessionFn>(GetModuleHandleA("wtsapi32.dll"),
                                                        "WTSUnRegisterSessionNotification");
    return unregister != nullptr && unregister(window) != FALSE;
}

void SessionNotices::Register(HWND window) {
    // Without this registration a window still hears the power broadcast;
    // with it, also where the system sends the notices only to those who
    // asked.
    if (const auto registerPower = Lookup<RegisterSuspendResumeFn>(
            GetModuleHandleA("user32.dll"), "RegisterSuspendResumeNotification")) {
        suspendResume_.Reset(registerPower(window, kNotifyWindowHandle));
    }
    wtsapi_.Reset(LoadLibraryA("wtsapi32.dll"));
    if (const auto registerSession =
            Lookup<RegisterSessionFn>(wtsapi_.Get(), "WTSRegisterSessionNotification")) {
        if (registerSession(window, kNotifyForThisSession) != FALSE)
            session_.Reset(window);
    }
}

void SessionNotices::Unregister() {
    suspendResume_.Reset();
    session_.Reset();
    wtsapi_.Reset();
}

bool SessionNotices::AtConsole() {
    DWORD own = 0;
    if (!ProcessIdToSessionId(GetCurrentProcessId(), &own))
        return true;
    const DWORD console = WTSGetActiveConsoleSessionId();
    // No session at the console at all happens only while it changes hands;
    // the change is then told as it completes.
    if (console == kNoConsoleSession)
        return true;
    return own == console;
}

}  // namespace monitor
