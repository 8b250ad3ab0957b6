#include "option/dialogs/warning_dlg_win.h"

#include "option/dialogs/modal_dialog_win.h"
#include "option/dialogs/option_dialogs_win.h"

namespace option {
std::span<const CWarningDlg::Row> CWarningDlg::MessageMap() {
    static constexpr Row own[] = {
        win::OnMessage<WM_INITDIALOG, &CWarningDlg::OnInitDialog>(),
        win::OnCommandRange<&CWarningDlg::OnButton>(warning_dialog::kWarningOkId,
                                                    warning_dialog::kWarningCloseId),
    };
    static constexpr auto rows = Table(own);
    return rows;
}

// Key k ("1" to "3") is button k - 1.
void CWarningDlg::Build(const skin::ControlRow& row, const skin::ButtonPos& pos,
                        const skin::SkinSheets& sheets) {
    buttons_[static_cast<std::size_t>(row.key - 1)].CreateFromPos(
        Hwnd(), pos, static_cast<UINT>(row.id), sheets);
}

LRESULT CWarningDlg::OnInitDialog() {
    const LRESULT result = CallDefault();
    PutOnSkin(nullptr, skinFile_, warning_dialog::kControls);
    if (centreOver_ != nullptr)
        CentreWindow(Hwnd(), centreOver_);
    return result;
}

LRESULT CWarningDlg::OnButton(UINT id, UINT code) {
    if (code != BN_CLICKED)
        return 0;
    EndDialog(Hwnd(), id == warning_dialog::kWarningOkId ? IDOK : IDCANCEL);
    return 0;
}

void ShowClickWarning(HWND owner) {
    CWarningDlg dialog("skin_click_warn.ini", nullptr);
    dialog.Run(owner);
}

bool AskResetDefaults(HWND mainWindow) {
    CWarningDlg dialog("skin_reset_warn.ini", mainWindow);
    return dialog.Run(mainWindow);
}

// The macro warnings appear over the manager, where the user looks.
bool AskDeleteMacro(HWND owner) {
    CWarningDlg dialog("skin_delete_macro_warn.ini", owner);
    return dialog.Run(owner);
}

void ShowMacroSetWarning(HWND owner) {
    CWarningDlg dialog("skin_macro_set_warn.ini", owner);
    dialog.Run(owner);
}

}  // namespace option
