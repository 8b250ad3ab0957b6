// The skinned warning dialogs: a picture that carries the text, an OK button
// (key "1") and two Cancel buttons (keys "2" and "3"). Enter and Esc do not
// close them; only the buttons do, so a stray key never confirms a reset.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "option/dialogs/skin_dialog_win.h"
#include "option/dialogs/warning_dlg_controls.h"

namespace option {

// Run(owner) is true when the user pressed OK.
class CWarningDlg : public SkinDialog<CWarningDlg> {
  public:
    // `centreOver` null: the dialog stays where the skin puts it.
    CWarningDlg(std::string skinFile, HWND centreOver)
        : skinFile_(std::move(skinFile)), centreOver_(centreOver) {}

    static std::span<const Row> MessageMap();

  private:
    friend class SkinDialog<CWarningDlg>;

    void Build(const skin::ControlRow& row, const skin::ButtonPos& pos,
               const skin::SkinSheets& sheets);
    LRESULT OnInitDialog();
    LRESULT OnButton(UINT id, UINT code);

    std::string skinFile_;
    HWND centreOver_;
    std::array<skin::CSkinButton, 3> buttons_;
};

// The delete-macro warning ("skin_delete_macro_warn.ini"): true on OK.
bool AskDeleteMacro(HWND owner);

}  // namespace option
