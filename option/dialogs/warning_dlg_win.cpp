#include "option/dialogs/warning_dlg_win.h"

#include "option/dialogs/modal_dialog_win.h"
#include "option/dialogs/option_dialogs_win.h"
#include "option/tab_orders.h"

namespace option {
namespace {

constexpr const char* const kKeys[] = {"1", "2", "3"};

}  // namespace

std::span<const CWarningDlg::Row> CWarningDlg::MessageMap() {
    static constexpr Row own[] = {
        win::OnMessage<WM_INITDIALOG, &CWarningDlg::OnInitDialog>(),
        win::OnCommandRange<&CWarningDlg::OnButton>(kWarningOkId, kWarningCloseId),
    };
    static constexpr auto rows = Table(own);
    static_assert(win::NoRowShadowed(rows), "a row of this table is shadowed by an earlier one");
    return rows;
}

// Key k ("1" to "3") is the button with id 1000 + k.
void CWarningDlg::Build(int key, const skin::ButtonPos& pos, const skin::SkinSheets& sheets) {
    const std::size_t index = static_cast<std::size_t>(key - 1);
    if (index < buttons_.size())
        buttons_[index].CreateFromPos(Hwnd(), pos, kWarningOkId + static_cast<UINT>(index), sheets);
}

LRESULT CWarningDlg::OnInitDialog() {
    const LRESULT result = CallDefault();
    PutOnSkin(nullptr, skinFile_, kKeys);
    keyboard_.SetOrder(tab_order::kWarningDialog);
    if (centreOver_ != nullptr)
        CentreWindow(Hwnd(), centreOver_);
    return result;
}

LRESULT CWarningDlg::OnButton(UINT id, UINT code) {
    if (code != BN_CLICKED)
        return 0;
    EndDialog(Hwnd(), id == kWarningOkId ? IDOK : IDCANCEL);
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
