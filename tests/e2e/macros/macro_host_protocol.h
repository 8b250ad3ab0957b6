// What the macro manager test and its host program agree on.
#pragma once

#include <windows.h>

namespace macro_host {

inline constexpr const char* kHostTitle = "Macro Manager Test Host";
// To the host window: destroy yourself (the manager's owner) now.
inline constexpr UINT kMsgDestroyOwner = WM_APP + 7;
// What the host says in its debug output once the manager has closed: whether
// the key hook is still installed, how many macros the store holds, and each
// macro (name, event count, repeat value).
inline constexpr char kTraceHook[] = "host hook %d\n";
inline constexpr char kTraceStore[] = "host store %d\n";
inline constexpr char kTraceMacro[] = "host macro %s %d %d\n";

}  // namespace macro_host
