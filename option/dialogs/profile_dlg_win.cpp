// Profile dialog: the current profile's name and its game program, whose
// start makes Monitor switch to the profile. Each field has its own control
// id; a game program path too long for the record is refused with a notice.
#include <array>

#include "option/dialogs/dialog_parts_win.h"
#include "option/dialogs/modal_dialog_win.h"
#include "option/dialogs/option_dialogs_win.h"
#include "option/option_resource_ids.h"
#include "option/pages/model/dialog_values.h"
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_loader_win.h"

namespace option {
namespace {

constexpr const char* kSkinFile = "skin_profile.ini";
constexpr const char* kTitle = "Profile Dialog";
constexpr const char* const kKeys[] = {"1", "2", "3", "4", "5", "6"};
constexpr int kKeyName = 1;
constexpr int kKeyGame = 2;
constexpr int kKeyBrowse = 3;
constexpr int kKeyOk = 4;
constexpr int kKeyCancel = 5;
constexpr int kKeyClose = 6;
constexpr UINT kNameFieldId = 4010;
constexpr UINT kGameFieldId = 4020;
constexpr COLORREF kFieldText = RGB(0xE8, 0xE8, 0xE8);
constexpr COLORREF kFieldBack = RGB(0, 0, 0);

class CProfileDlg : public win::WindowImpl<CProfileDlg> {
  public:
    explicit CProfileDlg(ProfileFields fields) : fields_(std::move(fields)) {}

    const ProfileFields& Fields() const { return fields_; }

    static std::span<const win::MessageRow<CProfileDlg>> MessageMap() {
        static const win::MessageRow<CProfileDlg> rows[] = {
            win::OnMessage<WM_INITDIALOG, &CProfileDlg::OnInitDialog>(),
            win::OnMessage<WM_PAINT, &CProfileDlg::OnPaint>(),
            win::OnMessage<WM_ERASEBKGND, &CProfileDlg::OnEraseBkgnd>(),
            win::OnMessage<WM_LBUTTONDOWN, &CProfileDlg::OnLButtonDown>(),
            win::OnMessage<WM_CTLCOLOREDIT, &CProfileDlg::OnCtlColor>(),
            win::OnMessage<WM_CTLCOLORSTATIC, &CProfileDlg::OnCtlColor>(),
            // Enter and Esc never close the dialog.
            win::OnCommand<&CProfileDlg::OnSwallowedKey>(IDOK),
            win::OnCommand<&CProfileDlg::OnSwallowedKey>(IDCANCEL),
            win::OnControl<&CProfileDlg::OnBrowse>(BN_CLICKED, DialogButtonId(kKeyBrowse)),
            win::OnControl<&CProfileDlg::OnOk>(BN_CLICKED, DialogButtonId(kKeyOk)),
            win::OnControl<&CProfileDlg::OnCancel>(BN_CLICKED, DialogButtonId(kKeyCancel)),
            win::OnControl<&CProfileDlg::OnCancel>(BN_CLICKED, DialogButtonId(kKeyClose)),
        };
        return rows;
    }

  private:
    void Build(const char* keyText, const skin::ButtonPos& pos, const skin::SkinSheets& sheets) {
        const int key = std::atoi(keyText);
        if (key == kKeyName || key == kKeyGame) {
            skin::CBitmapEdit& field = key == kKeyName ? name_ : game_;
            CreatePlateField(field, ES_AUTOHSCROLL, skin::ToRect(pos.rect), Hwnd(),
                             key == kKeyName ? kNameFieldId : kGameFieldId, kFieldText, kFieldBack);
            if (key == kKeyName)
                SendMessageA(field.Hwnd(), EM_LIMITTEXT, kMaxProfileNameChars, 0);
            return;
        }
        skin::CSkinButton& button = buttons_[static_cast<std::size_t>(key)];
        button.CreateFromPos(Hwnd(), pos, DialogButtonId(key), sheets);
        button.SetTag(key);
    }

    LRESULT OnInitDialog() {
        CallDefault();
        HWND self = Hwnd();
        SetWindowTextA(self, kTitle);
        surface_.InitSkin(self, kSkinFile, kKeys,
                          [this](std::size_t, const char* key, const skin::ButtonPos& pos,
                                 const skin::SkinSheets& sheets) { Build(key, pos, sheets); });
        surface_.ApplyShape(self);
        name_.SetText(fields_.name.substr(0, kMaxProfileNameChars));
        game_.SetText(fields_.gameFile);
        CentreWindow(self, GetWindow(self, GW_OWNER));
        SetFocus(name_.Hwnd());
        SendMessageA(name_.Hwnd(), EM_SETSEL, 0, -1);
        return FALSE;  // the focus is set
    }

    LRESULT OnPaint() {
        surface_.Paint(Hwnd());
        return 0;
    }
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnLButtonDown(UINT, POINT at) {
        skin::DragByBody(Hwnd(), at, false);
        return CallDefault();
    }
    LRESULT OnCtlColor(HDC dc, HWND control) {
        LRESULT brush = 0;
        return skin::CBitmapEdit::ReflectCtlColor(dc, control, brush) ? brush : CallDefault();
    }

    void OnSwallowedKey() {}

    // A cancelled file dialog keeps what the field showed.
    void OnBrowse() {
        std::string chosen;
        if (AskProgramPath(Hwnd(), chosen))
            game_.SetText(chosen);
    }

    void OnOk() {
        const std::string game = game_.Text();
        if (!PathFits(game, kMaxGameFileChars)) {
            ShowPathTooLong(Hwnd(), game, kMaxGameFileChars);
            SetFocus(game_.Hwnd());
            return;
        }
        fields_.name = name_.Text();
        fields_.gameFile = game;
        EndDialog(Hwnd(), IDOK);
    }
    void OnCancel() { EndDialog(Hwnd(), IDCANCEL); }

    ProfileFields fields_;
    skin::SkinSurface surface_;
    std::array<skin::CSkinButton, kKeyClose + 1> buttons_;
    skin::CBitmapEdit name_;
    skin::CBitmapEdit game_;
};

}  // namespace

bool RunProfileDialog(HWND owner, ProfileFields& fields) {
    CProfileDlg dialog(fields);
    if (RunModalDialog(dialog, owner, IDD_SKIN_DIALOG) != IDOK)
        return false;
    fields = dialog.Fields();
    return true;
}

}  // namespace option
