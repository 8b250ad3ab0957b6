#include "option/pages/page_dialogs_win.h"

#include "option/dialogs/dialog_parts_win.h"
#include "option/dialogs/option_dialogs_win.h"
#include "option/model/session/option_session.h"

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
    const bool ok = RunLaunchProgramDialog(owner_, path);
    lastPath_ = path;
    return ok;
}

void PageDialogs::ShowPathTooLong() {
    option::ShowPathTooLong(owner_, lastPath_, kMaxProgramPath);
}

bool PageDialogs::ChoosePlayer(std::int32_t& player) {
    return RunPlayerDialog(owner_, player);
}

void PageDialogs::RunMacroManager() {
    // The session holds back what a profile switch would merge into the
    // store until the manager has closed.
    session_.MacroManagerOpened();
    const bool ok = option::RunMacroManager(owner_, macros_, selectedMacro_);
    session_.MacroManagerClosed(ok);
}

}  // namespace option
