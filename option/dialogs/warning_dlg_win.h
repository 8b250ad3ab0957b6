// The skinned warning dialogs: a picture that carries the text, an OK button
// (key "1") and two Cancel buttons (keys "2" and "3"). Enter and Esc do not
// close them; only the buttons do, so a stray key never confirms a reset.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "option/dialogs/skin_dialog_win.h"

namespace option {

// Control ids of the three buttons: 1000 + key, as on the main window.
inline constexpr UINT kWarningOkId = 1001;
inline constexpr UINT kWarningCancelId = 1002;
inline constexpr UINT kWarningCloseId = 1003;

// Run(owner) is true when the user pressed OK.
class CWarningDlg : public SkinDialog<CWarningDlg> {
  public:
    // `centreOver` null: the dialog stays where the skin puts it.
    CWarningDlg(std::string skinFile, HWND centreOver)
        : skinFile_(std::move(skinFile)), centreOver_(centreOver) {}

    static std::span<const Row> MessageMap();

  private:
    friend class SkinDialog<CWarningDlg>;

    void Build(int key, const skin::ButtonPos& pos, const skin::SkinSheets& sheets);
    LRESULT OnInitDialog();
    LRESULT OnButton(UINT id, UINT code);

    std::string skinFile_;
    HWND centreOver_;
    std::array<skin::CSkinButton, 3> buttons_;
};

// The delete-macro warning ("skin_delete_macro_warn.ini"): true on OK.
bool AskDeleteMacro(HWND owner);

}  // namespace option
