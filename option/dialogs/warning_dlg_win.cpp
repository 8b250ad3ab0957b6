#include "option/dialogs/warning_dlg_win.h"

#include "option/dialogs/modal_dialog_win.h"
#include "option/dialogs/option_dialogs_win.h"
#include "option/option_resource_ids.h"

namespace option {
namespace {

constexpr const char* const kKeys[] = {"1", "2", "3"};

}  // namespace

std::span<const win::MessageRow<CWarningDlg>> CWarningDlg::MessageMap() {
    static const win::MessageRow<CWarningDlg> rows[] = {
        win::OnMessage<WM_INITDIALOG, &CWarningDlg::OnInitDialog>(),
        win::OnMessage<WM_PAINT, &CWarningDlg::OnPaint>(),
        win::OnMessage<WM_ERASEBKGND, &CWarningDlg::OnEraseBkgnd>(),
        win::OnMessage<WM_LBUTTONDOWN, &CWarningDlg::OnLButtonDown>(),
        win::OnMessage<WM_CLOSE, &CWarningDlg::OnClose>(),
        // Enter and Escape arrive as IDOK and IDCANCEL: neither answers.
        win::OnCommand<&CWarningDlg::OnDialogKey>(IDOK),
        win::OnCommand<&CWarningDlg::OnDialogKey>(IDCANCEL),
        win::OnCommandRange<&CWarningDlg::OnButton>(kOkId, kCloseId),
    };
    return rows;
}

WarningAnswer CWarningDlg::Run(HWND owner) {
    owner_ = owner;
    return RunModalDialog(*this, owner, IDD_SKIN_DIALOG) == IDOK ? WarningAnswer::Ok
                                                                 : WarningAnswer::Cancel;
}

LRESULT CWarningDlg::OnInitDialog() {
    const LRESULT result = CallDefault();
    HWND self = Hwnd();
    surface_.InitSkin(self, skinFile_, kKeys,
                      [this, self](std::size_t index, const char*, const skin::ButtonPos& pos,
                                   const skin::SkinSheets& sheets) {
                          buttons_[index].CreateFromPos(self, pos, kOkId + static_cast<UINT>(index),
                                                        sheets);
                      });
    surface_.ApplyShape(self);
    // Over the window that asked, so the question appears where the user looks.
    CentreWindow(self, owner_);
    return result;
}

LRESULT CWarningDlg::OnPaint() {
    surface_.Paint(Hwnd());
    return 0;
}

LRESULT CWarningDlg::OnLButtonDown(UINT, POINT at) {
    skin::DragByBody(Hwnd(), at, false);
    return CallDefault();
}

LRESULT CWarningDlg::OnClose() {
    EndDialog(Hwnd(), IDCANCEL);
    return 0;
}

LRESULT CWarningDlg::OnButton(UINT id, UINT code) {
    if (code == BN_CLICKED)
        EndDialog(Hwnd(), id == kOkId ? IDOK : IDCANCEL);
    return 0;
}

bool AskDeleteMacro(HWND owner) {
    CWarningDlg dialog("skin_delete_macro_warn.ini");
    return dialog.Run(owner) == WarningAnswer::Ok;
}

void ShowMacroSetWarning(HWND owner) {
    CWarningDlg dialog("skin_macro_set_warn.ini");
    dialog.Run(owner);
}

}  // namespace option
