#include "option/dialogs/skin_dialog_win.h"

#include <cstdlib>

#include "option/dialogs/modal_dialog_win.h"
#include "option/option_resource_ids.h"

namespace option::skin_dialog {

DialogKeys::~DialogKeys() {
    if (dialog_ != nullptr)
        skin::UnregisterKeyboardHost(dialog_);
}

void DialogKeys::Attach(HWND dialog) {
    dialog_ = dialog;
    skin::RegisterKeyboardHost(dialog, *this);
}

void DialogKeys::AppendTabOrder(std::vector<HWND>& order) const {
    skin::AppendControls(dialog_, ids_, order);
}

skin::ArrowGroup DialogKeys::GroupOf(HWND focus) const {
    return skin::GroupIn(dialog_, ids_, focus);
}

void PutOnSkin(skin::SkinSurface& surface, DialogKeys& keyboard, HWND self, const char* title,
               const std::string& skinFile, std::span<const char* const> keys,
               const ControlBuilder& build) {
    if (title != nullptr)
        SetWindowTextA(self, title);
    surface.InitSkin(
        self, skinFile, keys,
        [&build](std::size_t, const char* key, const skin::ButtonPos& pos,
                 const skin::SkinSheets& sheets) { build(std::atoi(key), pos, sheets); });
    surface.ApplyShape(self);
    keyboard.Attach(self);
}

INT_PTR Run(win::Window& dialog, HWND owner) {
    return RunModalDialog(dialog, owner, IDD_SKIN_DIALOG);
}

}  // namespace option::skin_dialog
