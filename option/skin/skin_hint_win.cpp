#include "option/skin/skin_hint_win.h"

#include "option/skin/control_math.h"
#include "option/skin/skin_messages.h"

namespace skin {
namespace {

HWND& HintWindowStore() {
    static HWND window = nullptr;
    return window;
}

}  // namespace

void SetHintWindow(HWND mainWindow) {
    HintWindowStore() = mainWindow;
}

HWND HintWindow(HWND control) {
    HWND main = HintWindowStore();
    if (main != nullptr && IsWindow(main))
        return main;
    return control != nullptr ? GetAncestor(control, GA_ROOT) : nullptr;
}

void PublishHint(HWND control, const std::string& text, WPARAM wParam) {
    HintString() = text;
    HWND main = HintWindow(control);
    if (main != nullptr)
        PostMessageA(main, kMsgHint, wParam, 0);
}

UINT EditKillFocusMessage() {
    static const UINT id = RegisterWindowMessageA(kEditKillFocusName);
    return id;
}

UINT EditChangeMessage() {
    static const UINT id = RegisterWindowMessageA(kEditChangeName);
    return id;
}

void RegisterSkinMessages() {
    EditKillFocusMessage();
    EditChangeMessage();
}

}  // namespace skin
