#include "common/win/playback_priority_win.h"

namespace win {

namespace {

using SetTaskFunction = HANDLE(WINAPI*)(LPCSTR task, LPDWORD index);

template <class F>
F Function(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

ScopedPlaybackPriority::ScopedPlaybackPriority() {
    const HANDLE self = GetCurrentThread();
    previous_ = GetThreadPriority(self);
    if (previous_ == THREAD_PRIORITY_ERROR_RETURN)
        previous_ = THREAD_PRIORITY_NORMAL;
    raised_ = SetThreadPriority(self, THREAD_PRIORITY_TIME_CRITICAL) != FALSE;

    avrt_.Reset(LoadLibraryA("avrt.dll"));
    if (!avrt_)
        return;
    const auto set = Function<SetTaskFunction>(avrt_.Get(), "AvSetMmThreadCharacteristicsA");
    revert_ = Function<RevertFunction>(avrt_.Get(), "AvRevertMmThreadCharacteristics");
    if (set == nullptr || revert_ == nullptr)
        return;
    DWORD index = 0;
    task_ = set("Games", &index);
}

ScopedPlaybackPriority::~ScopedPlaybackPriority() {
    if (task_ != nullptr)
        revert_(task_);
    if (raised_)
        SetThreadPriority(GetCurrentThread(), previous_);
}

}  // namespace win
