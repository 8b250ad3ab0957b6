// The small skinned warning dialogs: a picture with the text drawn in, an OK
// button (key 1) and two Cancel buttons (keys 2 and 3). Enter and Escape do
// not close them, so a stray keystroke cannot answer the question.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "common/win/window.h"
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_loader_win.h"

namespace option {

enum class WarningAnswer { Ok, Cancel };

class CWarningDlg : public win::WindowImpl<CWarningDlg> {
  public:
    explicit CWarningDlg(std::string skinFile) : skinFile_(std::move(skinFile)) {}

    // Runs the dialog modally over `owner`; Cancel when it could not be shown.
    WarningAnswer Run(HWND owner);

    static constexpr UINT kOkId = 3001;      // key 1
    static constexpr UINT kCancelId = 3002;  // key 2
    static constexpr UINT kCloseId = 3003;   // key 3

    static std::span<const win::MessageRow<CWarningDlg>> MessageMap();

  private:
    LRESULT OnInitDialog();
    LRESULT OnPaint();
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnLButtonDown(UINT keys, POINT at);
    LRESULT OnClose();
    LRESULT OnButton(UINT id, UINT code);
    LRESULT OnDialogKey() { return 0; }

    std::string skinFile_;
    HWND owner_ = nullptr;
    skin::SkinSurface surface_;
    std::array<skin::CSkinButton, 3> buttons_;
};

// The delete-macro warning ("skin_delete_macro_warn.ini"): true on OK.
bool AskDeleteMacro(HWND owner);

}  // namespace option
