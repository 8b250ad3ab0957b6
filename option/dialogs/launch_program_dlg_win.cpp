// Launch-program dialog: the program a mouse button starts, typed or chosen
// in the system's file dialog. A path too long for the button's record is
// refused with a notice rather than stored cut.
#include <array>

#include "option/dialogs/dialog_parts_win.h"
#include "option/dialogs/launch_program_dlg_controls.h"
#include "option/dialogs/modal_dialog_win.h"
#include "option/dialogs/option_dialogs_win.h"
#include "option/dialogs/skin_dialog_win.h"
#include "option/model/dialogs/dialog_values.h"

namespace option {
namespace {

using namespace launch_program_dialog;
constexpr DialogSkin kSkin{"Launch Program Dialog", "skin_lanuch_program.ini", kControls};

class CLaunchProgramDlg : public SkinDialog<CLaunchProgramDlg> {
  public:
    explicit CLaunchProgramDlg(std::string path) : path_(std::move(path)) {}

    const std::string& Result() const { return path_; }

    static std::span<const Row> MessageMap() {
        static constexpr Row own[] = {
            win::OnMessage<WM_INITDIALOG, &CLaunchProgramDlg::OnInitDialog>(),
            win::OnControl<&CLaunchProgramDlg::OnBrowse>(BN_CLICKED, DialogButtonId(kKeyBrowse)),
        };
        static constexpr auto rows = Table(kKeyOk, kKeyCancel, kKeyClose, own);
        return rows;
    }

  private:
    friend class SkinDialog<CLaunchProgramDlg>;

    void BuildField(const skin::ControlRow& row, const skin::ButtonPos& pos) {
        MakeField(field_, ES_AUTOHSCROLL, row, pos, RGB(0, 0, 0), RGB(0xE5, 0xE5, 0xE5));
    }

    LRESULT OnInitDialog() {
        OpenOnSkin(kSkin);
        field_.SetText(path_);
        SetFocus(field_.Hwnd());
        return FALSE;  // the focus is set
    }

    void OnBrowse() { BrowseProgramInto(field_, Hwnd()); }

    bool Accept() { return TakeFittingPath(field_, Hwnd(), kMaxProgramPath, path_); }

    std::string path_;
    std::array<skin::CSkinButton, kKeyClose + 1> buttons_;
    skin::CBitmapEdit field_;
};

}  // namespace

bool RunLaunchProgramDialog(HWND owner, std::string& path) {
    return CLaunchProgramDlg::Edit(owner, path);
}

}  // namespace option
