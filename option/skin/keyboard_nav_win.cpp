#include "option/skin/keyboard_nav_win.h"

#include <algorithm>

#include "common/win/scoped_win.h"
#include "option/skin/control_math.h"

namespace skin {
namespace {

// The hook and the hosts belong to the one user-interface thread. They are
// plain statics: a thread-local object with a destructor would hold up the
// program's exit.
win::ScopedHook g_hook;

struct HostEntry {
    HWND top;
    KeyboardHost* host;
    bool cues;  // the keyboard was used in the window: focus marks show
};
std::vector<HostEntry> g_hosts;

HostEntry* EntryOf(HWND top) {
    for (HostEntry& entry : g_hosts) {
        if (entry.top == top)
            return &entry;
    }
    return nullptr;
}

bool Held(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

bool IsClass(HWND window, const char* name) {
    char text[32] = {};
    GetClassNameA(window, text, sizeof text);
    return lstrcmpiA(text, name) == 0;
}

// Push, check and radio buttons (system "Button" windows of our skin) and the
// shaped selectors: the arrows walk past them like Tab.
bool IsButton(HWND window) {
    return window != nullptr && (IsClass(window, "Button") || IsClass(window, "Rgn Button"));
}

// Left and Right step by one, Up and Down by a row of the focus's group.
bool WalkGroup(const KeyboardHost& host, HWND focus, UINT key) {
    const ArrowGroup group = host.GroupOf(focus);
    const bool back = key == VK_LEFT || key == VK_UP;
    const int row = key == VK_UP || key == VK_DOWN ? group.columns : 1;
    HWND next = NextInOrder(group.members, focus, back ? -row : row);
    if (next == nullptr || next == focus)
        return false;
    FocusByKeyboard(next);
    return true;
}

bool Walk(const KeyboardHost& host, HWND focus, int step) {
    std::vector<HWND> order;
    host.AppendTabOrder(order);
    HWND next = NextInOrder(order, focus, step);
    if (next == nullptr)
        return false;
    FocusByKeyboard(next);
    return true;
}

// Any key typed in the window turns its focus cues on, as the system does
// (kept here rather than in the system's per-window cue state, which not
// every system passes on to the controls of child dialogs).
void ShowCues(HWND top) {
    HostEntry* entry = EntryOf(top);
    if (entry == nullptr || entry->cues)
        return;
    entry->cues = true;
    if (HWND focus = GetFocus(); focus != nullptr)
        InvalidateRect(focus, nullptr, FALSE);
}

bool TakeKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return false;
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    HostEntry* entry = EntryOf(top);
    if (entry == nullptr || !IsWindowEnabled(top))
        return false;
    KeyboardHost* host = entry->host;
    const UINT key = static_cast<UINT>(msg.wParam);
    ShowCues(top);
    const KeyModifiers mods{Held(VK_CONTROL), Held(VK_SHIFT)};
    if (mods.ctrl && !Held(VK_MENU))
        return host->TakeControlKey(key, mods);
    HWND focus = GetFocus();
    // Without a focus (it was on a control that got disabled) the keys come
    // as system keys to the window itself; Tab and Esc still work then.
    const bool plain = msg.message == WM_KEYDOWN || (focus == nullptr && !Held(VK_MENU));
    if (!plain)
        return false;
    switch (key) {
        case VK_TAB:
            return Walk(*host, focus, mods.shift ? -1 : 1);
        case VK_ESCAPE:
            PostMessageA(top, WM_CLOSE, 0, 0);
            return true;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            return IsButton(focus) && WalkGroup(*host, focus, key);
        default:
            return false;
    }
}

LRESULT CALLBACK FilterHook(int code, WPARAM wParam, LPARAM lParam) {
    // Only the loops of our dialogs; a menu's own loop walks the menu.
    if (code == MSGF_DIALOGBOX && lParam != 0 && TakeKey(*reinterpret_cast<const MSG*>(lParam)))
        return 1;
    return CallNextHookEx(g_hook.Get(), code, wParam, lParam);
}

}  // namespace

void InstallKeyboard() {
    if (g_hook)
        return;
    g_hook.Reset(SetWindowsHookExA(WH_MSGFILTER, &FilterHook, nullptr, GetCurrentThreadId()));
}

void UninstallKeyboard() {
    g_hook.Reset();
    g_hosts.clear();
}

void RegisterKeyboardHost(HWND top, KeyboardHost& host) {
    if (top == nullptr)
        return;
    UnregisterKeyboardHost(top);
    g_hosts.push_back(HostEntry{top, &host, false});
}

void UnregisterKeyboardHost(HWND top) {
    std::erase_if(g_hosts, [top](const HostEntry& entry) { return entry.top == top; });
}

bool FocusCuesShown(HWND top) {
    const HostEntry* entry = EntryOf(top);
    return entry != nullptr && entry->cues;
}

void AppendControls(HWND parent, std::span<const int> ids, std::vector<HWND>& order) {
    for (int id : ids) {
        if (HWND control = id >= 0 ? GetDlgItem(parent, id) : nullptr; control != nullptr)
            order.push_back(control);
    }
}

ArrowGroup GroupIn(HWND parent, std::span<const int> ids, HWND focus) {
    if (focus == nullptr || GetParent(focus) != parent)
        return {};
    const GroupRun run = GroupHolding(ids, GetDlgCtrlID(focus));
    ArrowGroup group;
    AppendControls(parent, ids.subspan(run.first, run.count), group.members);
    group.columns = run.columns;
    return group;
}

bool TakesTabStop(HWND control) {
    // Shown within its top-level window, which itself may not be shown yet
    // (a dialog gives its first control the focus before it appears).
    HWND top = GetAncestor(control, GA_ROOT);
    for (HWND w = control; w != nullptr && w != top; w = GetParent(w)) {
        if ((GetWindowLongA(w, GWL_STYLE) & WS_VISIBLE) == 0)
            return false;
    }
    return IsWindowEnabled(control);
}

HWND NextInOrder(std::span<const HWND> order, HWND focus, int step) {
    const int count = static_cast<int>(order.size());
    int current = -1;
    for (int i = 0; i < count; ++i) {
        HWND w = order[static_cast<std::size_t>(i)];
        if (focus != nullptr && (w == focus || IsChild(w, focus))) {
            current = i;
            break;
        }
    }
    if (current < 0)
        current = step > 0 ? -1 : count;
    for (int n = 1; n <= count; ++n) {
        const int i = ((current + step * n) % count + count) % count;
        HWND w = order[static_cast<std::size_t>(i)];
        if (TakesTabStop(w))
            return w;
    }
    return nullptr;
}

bool FocusFirst(const KeyboardHost& host) {
    std::vector<HWND> order;
    host.AppendTabOrder(order);
    HWND first = NextInOrder(order, nullptr, 1);
    if (first == nullptr)
        return false;
    SetFocus(first);
    return true;
}

void FocusByKeyboard(HWND control) {
    if (control == nullptr)
        return;
    HWND edit = FindWindowExA(control, nullptr, "Edit", nullptr);
    HWND target = edit != nullptr ? edit : control;
    // Cues first, so that the control paints its mark as it gains the focus.
    ShowCues(GetAncestor(control, GA_ROOT));
    SetFocus(target);
    if (target == edit)
        SendMessageA(edit, EM_SETSEL, 0, -1);
}

}  // namespace skin
