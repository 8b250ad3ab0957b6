#include "option/pages/page_dialogs_win.h"

#include "lan/string_ids.h"
#include "option/dialogs/option_dialogs_win.h"
#include "option/option_dlg_win.h"

namespace option {

void PageDialogs::ShowClickWarning() {
    option::ShowClickWarning(owner_);
}

bool PageDialogs::EditShortcut(std::uint8_t& keyCode, ShortcutToggles& toggles) {
    return RunShortcutDialog(owner_, keyCode, toggles);
}

bool PageDialogs::EditFire(FireSetting& fire) {
    return RunFireDialog(owner_, fire);
}

bool PageDialogs::EditLaunchPath(std::string& path) {
    return RunLaunchProgramDialog(owner_, path);
}

void PageDialogs::ShowPathTooLong() {
    const std::string text = LanString(lan::kPathTooLong);
    const std::string caption = LanString(lan::kLaunchProgramCaption);
    MessageBoxA(owner_, text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
}

bool PageDialogs::ChoosePlayer(std::int32_t& player) {
    return RunPlayerDialog(owner_, player);
}

void PageDialogs::RunMacroManager() {
    option::RunMacroManager(owner_, macros_, selectedMacro_);
}

}  // namespace option
