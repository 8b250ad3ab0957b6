#include "option/dialogs/owned_dialogs_win.h"

#include <algorithm>
#include <vector>

namespace option {
namespace {

struct Search {
    HWND owner;
    // Each owned window with the number of owners between it and `owner`.
    std::vector<std::pair<int, HWND>> found;
};

// Dialogs only: tooltips and menus owned by the same windows go with them.
bool IsDialog(HWND hwnd) {
    char name[16] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return lstrcmpA(name, "#32770") == 0;
}

BOOL CALLBACK Collect(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (!IsDialog(hwnd))
        return TRUE;
    int depth = 0;
    for (HWND up = GetWindow(hwnd, GW_OWNER); up != nullptr; up = GetWindow(up, GW_OWNER)) {
        ++depth;
        if (up == search->owner) {
            search->found.emplace_back(depth, hwnd);
            break;
        }
    }
    return TRUE;
}

}  // namespace

void CloseOwnedDialogs(HWND owner) {
    Search search{owner, {}};
    EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(&search));
    // The innermost dialog first: its run ends before the one it sits on.
    std::vector<std::pair<int, HWND>>& found = search.found;
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& entry : found) {
        if (IsWindow(entry.second))
            SendMessageA(entry.second, WM_CLOSE, 0, 0);
    }
}

}  // namespace option
