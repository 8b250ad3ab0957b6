// The key capture hook: a system-wide low-level keyboard hook through which
// Option takes keystrokes while the macro manager records and while the
// shortcut and fire dialogs wait for a key. While it runs, keystrokes reach
// no other application; each one arrives at the target window as message
// kMsgCapturedKey (wParam: virtual key, lParam: 0x80 when released, else 0).
#pragma once

#include <windows.h>

namespace option {

inline constexpr UINT kMsgCapturedKey = WM_USER + 10;  // 1034

// Which keys a capture takes. The macro recorder takes every key. A dialog's
// key field leaves Tab and Esc to the dialog, which moves on or closes as
// from any other control, and lets Shift reach the dialog as well as the
// field, so that Shift+Tab walks back.
enum class CapturedKeys { All, ButDialogKeys };

// Remembers `target` and installs the hook; false when the system refused
// (the caller then receives no key messages). At most one capture runs at a
// time: installing again first removes the earlier hook.
bool InstallKeyHook(HWND target, CapturedKeys keys = CapturedKeys::All);
// Removes the hook, if any. Safe to call when none is installed.
void RemoveKeyHook();
bool KeyHookInstalled();

// A capture that ends with its owner: every way out of a dialog (OK,
// cancel, the window destroyed, an early return) removes the hook.
class ScopedKeyCapture {
  public:
    ScopedKeyCapture() = default;
    ~ScopedKeyCapture() { Stop(); }
    ScopedKeyCapture(const ScopedKeyCapture&) = delete;
    ScopedKeyCapture& operator=(const ScopedKeyCapture&) = delete;

    bool Start(HWND target, CapturedKeys keys = CapturedKeys::All) {
        Stop();
        active_ = InstallKeyHook(target, keys);
        return active_;
    }
    void Stop() {
        if (active_)
            RemoveKeyHook();
        active_ = false;
    }
    bool Active() const { return active_; }

  private:
    bool active_ = false;
};

}  // namespace option
