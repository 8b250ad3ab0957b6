// A system function looked up in its library at run time instead of being
// imported. An imported library is loaded, with everything it imports,
// before the program's first line runs; one looked up late is loaded when
// (and on the thread where) it is first needed.
#pragma once

#include <windows.h>

namespace win {

// The function `name` of `library`, loading the library (kept for the rest
// of the process); null when either is missing. Keep the result in a
// function-local static so that the look-up happens once.
template <typename Function>
Function* LateFunction(const char* library, const char* name) {
    HMODULE module = LoadLibraryA(library);
    if (module == nullptr)
        return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

namespace late_detail {
inline thread_local bool t_oleStarted = false;
}  // namespace late_detail

// OLE on the calling thread, started at its first need (an accessible object
// handed to a screen reader, a file dialog, a shell call) rather than before
// the first window: ole32 and the libraries it pulls in are then loaded only
// when something needs them. EndOle ends it on a thread that started it.
inline void NeedOle() {
    if (late_detail::t_oleStarted)
        return;
    static auto* const start = LateFunction<HRESULT WINAPI(LPVOID)>("ole32.dll", "OleInitialize");
    late_detail::t_oleStarted = start != nullptr && SUCCEEDED(start(nullptr));
}

inline void EndOle() {
    if (!late_detail::t_oleStarted)
        return;
    static auto* const end = LateFunction<void WINAPI()>("ole32.dll", "OleUninitialize");
    if (end != nullptr)
        end();
    late_detail::t_oleStarted = false;
}

}  // namespace win
