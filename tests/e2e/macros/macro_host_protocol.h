// What the macro manager test and its host program agree on.
#pragma once

#include <windows.h>

namespace macro_host {

inline constexpr const char* kHostTitle = "Macro Manager Test Host";
// To the host window: destroy yourself (the manager's owner) now.
inline constexpr UINT kMsgDestroyOwner = WM_APP + 7;

}  // namespace macro_host
