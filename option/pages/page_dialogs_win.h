// The dialogs of the button assignment page as the command handler asks for
// them: each call runs the skinned dialog modally over the main window.
#pragma once

#include <windows.h>

#include <string>

#include "option/model/pages/assignment_command.h"

namespace option {

class MacroFileStore;
class OptionSession;

class PageDialogs final : public AssignmentDialogs {
  public:
    // `selectedMacro` is the macro the manager opens on (the button's own).
    PageDialogs(HWND owner, OptionSession& session, MacroFileStore& macros,
                std::string selectedMacro)
        : owner_(owner),
          session_(session),
          macros_(macros),
          selectedMacro_(std::move(selectedMacro)) {}

    void ShowClickWarning() override;
    bool EditShortcut(std::uint8_t& keyCode, ShortcutToggles& toggles) override;
    bool EditFire(FireSetting& fire) override;
    bool EditLaunchPath(std::string& path) override;
    void ShowPathTooLong() override;
    bool ChoosePlayer(std::int32_t& player) override;
    void RunMacroManager() override;

  private:
    HWND owner_;
    OptionSession& session_;
    MacroFileStore& macros_;
    std::string selectedMacro_;
    std::string lastPath_;  // the launch dialog's answer, for the notice
};

}  // namespace option
