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
        // Closing the window (Option ending under an open warning) answers Cancel.
        win::OnMessage<WM_CLOSE, &CWarningDlg::OnClose>(),
        win::OnCommandRange<&CWarningDlg::OnButton>(kWarningOkId, kWarningCloseId),
        win::OnCommand<&CWarningDlg::OnDialogKey>(IDOK),
        win::OnCommand<&CWarningDlg::OnDialogKey>(IDCANCEL),
    };
    return rows;
}

bool CWarningDlg::Run(HWND owner) {
    return RunModalDialog(*this, owner, IDD_SKIN_DIALOG) == IDOK;
}

LRESULT CWarningDlg::OnInitDialog() {
    const LRESULT result = CallDefault();
    HWND self = Hwnd();
    surface_.InitSkin(self, skinFile_, kKeys,
                      [this, self](std::size_t index, const char*, const skin::ButtonPos& pos,
                                   const skin::SkinSheets& sheets) {
                          buttons_[index].CreateFromPos(
                              self, pos, kWarningOkId + static_cast<UINT>(index), sheets);
                      });
    surface_.ApplyShape(self);
    if (centreOver_ != nullptr)
        CentreWindow(self, centreOver_);
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
