// Profile dialog: the current profile's name and its game program, whose
// start makes Monitor switch to the profile. Each field has its own control
// id; a game program path too long for the record is refused with a notice.
// A check box asks for the previous profile back when the game ends.
#include <array>

#include "option/dialogs/dialog_parts_win.h"
#include "option/dialogs/modal_dialog_win.h"
#include "option/dialogs/option_dialogs_win.h"
#include "option/dialogs/profile_dlg_controls.h"
#include "option/dialogs/skin_dialog_win.h"
#include "option/model/dialogs/dialog_values.h"

namespace option {
namespace {

using namespace profile_dialog;
constexpr DialogSkin kSkin{"Profile Dialog", "skin_profile.ini", kControls};
constexpr COLORREF kFieldText = RGB(0xE8, 0xE8, 0xE8);
constexpr COLORREF kFieldBack = RGB(0, 0, 0);

class CProfileDlg : public SkinDialog<CProfileDlg> {
  public:
    explicit CProfileDlg(ProfileFields fields) : fields_(std::move(fields)) {}

    const ProfileFields& Result() const { return fields_; }

    static std::span<const Row> MessageMap() {
        static constexpr Row own[] = {
            win::OnMessage<WM_INITDIALOG, &CProfileDlg::OnInitDialog>(),
            win::OnControl<&CProfileDlg::OnBrowse>(BN_CLICKED, DialogButtonId(kKeyBrowse)),
        };
        static constexpr auto rows = Table(kKeyOk, kKeyCancel, kKeyClose, own);
        return rows;
    }

  private:
    friend class SkinDialog<CProfileDlg>;

    void BuildField(const skin::ControlRow& row, const skin::ButtonPos& pos) {
        skin::CBitmapEdit& field = row.key == kKeyName ? name_ : game_;
        MakeField(field, ES_AUTOHSCROLL, row, pos, kFieldText, kFieldBack);
        if (row.key == kKeyName)
            SendMessageA(field.Hwnd(), EM_LIMITTEXT, kMaxProfileNameChars, 0);
    }

    LRESULT OnInitDialog() {
        OpenOnSkin(kSkin);
        name_.SetText(fields_.name.substr(0, kMaxProfileNameChars));
        game_.SetText(fields_.gameFile);
        ReturnCheck().SetLatched(fields_.returnAfterGame);
        SetFocus(name_.Hwnd());
        SendMessageA(name_.Hwnd(), EM_SETSEL, 0, -1);
        return FALSE;  // the focus is set
    }

    // The check kept across a new display scale; the fields keep their text.
    void KeepValues() { fields_.returnAfterGame = ReturnCheck().Latched(); }
    void ShowValues() { ReturnCheck().SetLatched(fields_.returnAfterGame); }

    void OnBrowse() { BrowseProgramInto(game_, Hwnd()); }

    bool Accept() {
        if (!TakeFittingPath(game_, Hwnd(), kMaxGameFileChars, fields_.gameFile))
            return false;
        fields_.name = name_.Text();
        fields_.returnAfterGame = ReturnCheck().Latched();
        return true;
    }

    skin::CSkinButton& ReturnCheck() {
        return buttons_[static_cast<std::size_t>(kKeyReturnAfterGame)];
    }

    ProfileFields fields_;
    std::array<skin::CSkinButton, kKeyReturnAfterGame + 1> buttons_;
    skin::CBitmapEdit name_;
    skin::CBitmapEdit game_;
};

}  // namespace

bool RunProfileDialog(HWND owner, ProfileFields& fields) {
    return CProfileDlg::Edit(owner, fields);
}

}  // namespace option
