#include "option/dialogs/skin_dialog_win.h"

#include <utility>

#include "common/win/wide_text_win.h"
#include "option/dialogs/modal_dialog_win.h"
#include "option/option_resource_ids.h"
#include "option/skin/control_math.h"
#include "option/skin/dpi_reskin_win.h"
#include "option/skin/modal_loop_win.h"
#include "option/skin/bitmap_edit_win.h"

namespace option::skin_dialog {

namespace {

bool IsEditField(HWND window) {
    char name[8] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, "Edit") == 0;
}

}  // namespace

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
               const std::string& skinFile, std::span<const skin::ControlRow> controls,
               const skin::RowMaker& build) {
    if (title != nullptr)
        SetWindowTextA(self, title);
    surface.InitSkinControls(self, skinFile, controls, build);
    surface.ApplyShape(self);
    keyboard.Attach(self);
    keyboard.SetOrder(controls);
}

void Reskin(skin::SkinSurface& surface, DialogKeys& keyboard, HWND self, UINT dpi,
            const RECT* suggested, const std::string& skinFile,
            std::span<const skin::ControlRow> controls, const skin::RowMaker& build,
            const std::function<void()>& keepValues, const std::function<void()>& showValues) {
    skin::Reskin(self, suggested, [&] {
        keepValues();
        // What the user typed and has not confirmed yet, by field id.
        std::vector<std::pair<int, std::string>> typed;
        for (HWND child = GetWindow(self, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (IsEditField(child))
                typed.emplace_back(GetDlgCtrlID(child), skin::WindowText(child));
        }
        skin::DestroyChildren(self);
        surface.UseDpi(dpi);
        PutOnSkin(surface, keyboard, self, nullptr, skinFile, controls, build);
        showValues();
        for (const auto& [id, text] : typed) {
            if (HWND field = GetDlgItem(self, id))
                win::SetWindowTextUtf8(field, text);
        }
    });
}

INT_PTR Run(win::Window& dialog, HWND owner) {
    const skin::ModalLoopScope loop;
    return RunModalDialog(dialog, owner, IDD_SKIN_DIALOG);
}

}  // namespace option::skin_dialog
