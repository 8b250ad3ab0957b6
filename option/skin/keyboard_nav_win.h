// The keyboard in Option's skinned windows. The system's dialog manager
// walks the tab stops in creation order and knows nothing of skinned
// controls; so every skinned top-level window (the main window, each dialog)
// registers a KeyboardHost, and one message-filter hook on the user-interface
// thread takes the window-level keys before the dialog manager sees them:
//   Tab / Shift+Tab   the next / previous control of the host's order;
//   arrows on a button of a group of the host's table (a radio group, a row
//                     of level buttons, the colour grid): within the group;
//   Esc               closes the window (WM_CLOSE, which is Cancel), whatever
//                     control has the focus;
//   Ctrl+...          offered to the host (page and profile switching).
// Every other key goes on to the focused control, which answers
// WM_GETDLGCODE with DLGC_WANTALLKEYS and acts on it itself.
// Keys typed while a macro is recorded never get here: the low-level key
// capture takes them first.
#pragma once

#include <windows.h>

#include <span>
#include <vector>

namespace skin {

// The controls of one group of a window's table, in the table's order, and
// how many make a row.
struct ArrowGroup {
    std::vector<HWND> members;
    int columns = 1;
};

struct KeyModifiers {
    bool ctrl = false;
    bool shift = false;
};

class KeyboardHost {
  public:
    virtual ~KeyboardHost() = default;
    // The controls Tab visits, in reading order. Hidden and disabled ones
    // are skipped by the walk.
    virtual void AppendTabOrder(std::vector<HWND>& order) const = 0;
    // The group that holds `focus`; no members when it is in none.
    virtual ArrowGroup GroupOf(HWND /*focus*/) const { return {}; }
    // A window-level key with Ctrl held; true when the host took it.
    virtual bool TakeControlKey(UINT /*key*/, KeyModifiers) { return false; }
};

// Once per process around the main window, like the menu frame hook.
void InstallKeyboard();
void UninstallKeyboard();

// While registered, `top`'s keys are walked with `host`'s order. The window
// starts without focus cues; the first key typed in it turns them on.
void RegisterKeyboardHost(HWND top, KeyboardHost& host);
void UnregisterKeyboardHost(HWND top);
// The keyboard has been used in the registered window `top`.
bool FocusCuesShown(HWND top);

// The windows of `ids` in `parent` (missing ones and the group marks left
// out), appended in order.
void AppendControls(HWND parent, std::span<const int> ids, std::vector<HWND>& order);

// The group of the table `ids` of `parent` that holds the control `focus`.
ArrowGroup GroupIn(HWND parent, std::span<const int> ids, HWND focus);

// Whether Tab stops at `control` now: only enabled windows shown within their
// top-level window take the focus, the others of an order are passed over.
bool TakesTabStop(HWND control);

// The walk itself: the control of `order` after (`step` 1) or before
// (`step` -1) the one holding `focus` (or a child of it), wrapping around;
// the first (last) one when none holds it. Only controls that take a tab
// stop count. Null when none does.
HWND NextInOrder(std::span<const HWND> order, HWND focus, int step);

// Puts the focus on the first control of `host`'s order, where the keyboard
// can act (a dialog's own choice may be a window that takes no key). False
// when the order has no usable control. Focus cues stay as they are.
bool FocusFirst(const KeyboardHost& host);

// Gives the keyboard focus to `control` (to its edit field when it is a
// spin box) and shows focus cues in its window from now on.
void FocusByKeyboard(HWND control);

}  // namespace skin
