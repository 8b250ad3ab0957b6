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

}  // namespace win
