// The skinned warning dialogs: a picture that carries the text, an OK button
// (key "1") and two Cancel buttons (keys "2" and "3"). Enter and Esc do not
// close them; only the buttons do, so a stray key never confirms a reset.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "common/win/window.h"
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_loader_win.h"

namespace option {

// Control ids of the three buttons: 1000 + key, as on the main window.
inline constexpr UINT kWarningOkId = 1001;
inline constexpr UINT kWarningCancelId = 1002;
inline constexpr UINT kWarningCloseId = 1003;

class CWarningDlg : public win::WindowImpl<CWarningDlg> {
  public:
    // `centreOver` null: the dialog stays where the skin puts it.
    CWarningDlg(std::string skinFile, HWND centreOver)
        : skinFile_(std::move(skinFile)), centreOver_(centreOver) {}

    // Runs the dialog modally; true when the user pressed OK.
    bool Run(HWND owner);

    static std::span<const win::MessageRow<CWarningDlg>> MessageMap();

  private:
    LRESULT OnInitDialog();
    LRESULT OnPaint();
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnLButtonDown(UINT keys, POINT at);
    LRESULT OnClose();
    LRESULT OnButton(UINT id, UINT code);
    // Enter and Esc arrive as IDOK and IDCANCEL from the dialog manager.
    LRESULT OnDialogKey() { return 0; }

    std::string skinFile_;
    HWND centreOver_;
    skin::SkinSurface surface_;
    std::array<skin::CSkinButton, 3> buttons_;
};

// The delete-macro warning ("skin_delete_macro_warn.ini"): true on OK.
bool AskDeleteMacro(HWND owner);

}  // namespace option
