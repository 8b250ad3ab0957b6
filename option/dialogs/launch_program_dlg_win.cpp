// Launch-program dialog: the program a mouse button starts, typed or chosen
// in the system's file dialog. A path too long for the button's record is
// refused with a notice rather than stored cut.
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

constexpr const char* kSkinFile = "skin_lanuch_program.ini";
constexpr const char* kTitle = "Launch Program Dialog";
constexpr const char* const kKeys[] = {"1", "2", "3", "4", "5"};
constexpr int kKeyPath = 1;
constexpr int kKeyBrowse = 2;
constexpr int kKeyOk = 3;
constexpr int kKeyCancel = 4;
constexpr int kKeyClose = 5;
constexpr UINT kPathFieldId = 4010;

class CLaunchProgramDlg : public win::WindowImpl<CLaunchProgramDlg> {
  public:
    explicit CLaunchProgramDlg(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const { return path_; }

    static std::span<const win::MessageRow<CLaunchProgramDlg>> MessageMap() {
        static const win::MessageRow<CLaunchProgramDlg> rows[] = {
            win::OnMessage<WM_INITDIALOG, &CLaunchProgramDlg::OnInitDialog>(),
            win::OnMessage<WM_PAINT, &CLaunchProgramDlg::OnPaint>(),
            win::OnMessage<WM_ERASEBKGND, &CLaunchProgramDlg::OnEraseBkgnd>(),
            win::OnMessage<WM_LBUTTONDOWN, &CLaunchProgramDlg::OnLButtonDown>(),
            win::OnMessage<WM_CTLCOLOREDIT, &CLaunchProgramDlg::OnCtlColor>(),
            win::OnMessage<WM_CTLCOLORSTATIC, &CLaunchProgramDlg::OnCtlColor>(),
            // Enter and Esc never close the dialog.
            win::OnCommand<&CLaunchProgramDlg::OnSwallowedKey>(IDOK),
            win::OnCommand<&CLaunchProgramDlg::OnSwallowedKey>(IDCANCEL),
            win::OnControl<&CLaunchProgramDlg::OnBrowse>(BN_CLICKED, DialogButtonId(kKeyBrowse)),
            win::OnControl<&CLaunchProgramDlg::OnOk>(BN_CLICKED, DialogButtonId(kKeyOk)),
            win::OnControl<&CLaunchProgramDlg::OnCancel>(BN_CLICKED, DialogButtonId(kKeyCancel)),
            win::OnControl<&CLaunchProgramDlg::OnCancel>(BN_CLICKED, DialogButtonId(kKeyClose)),
        };
        return rows;
    }

  private:
    void Build(const char* keyText, const skin::ButtonPos& pos, const skin::SkinSheets& sheets) {
        const int key = std::atoi(keyText);
        if (key == kKeyPath) {
            CreatePlateField(field_, ES_AUTOHSCROLL, skin::ToRect(pos.rect), Hwnd(), kPathFieldId,
                             RGB(0, 0, 0), RGB(0xE5, 0xE5, 0xE5));
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
        field_.SetText(path_);
        CentreWindow(self, GetWindow(self, GW_OWNER));
        SetFocus(field_.Hwnd());
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
            field_.SetText(chosen);
    }

    void OnOk() {
        const std::string typed = field_.Text();
        if (!PathFits(typed, kMaxProgramPath)) {
            ShowPathTooLong(Hwnd(), typed, kMaxProgramPath);
            SetFocus(field_.Hwnd());
            return;
        }
        path_ = typed;
        EndDialog(Hwnd(), IDOK);
    }
    void OnCancel() { EndDialog(Hwnd(), IDCANCEL); }

    std::string path_;
    skin::SkinSurface surface_;
    std::array<skin::CSkinButton, kKeyClose + 1> buttons_;
    skin::CBitmapEdit field_;
};

}  // namespace

bool RunLaunchProgramDialog(HWND owner, std::string& path) {
    CLaunchProgramDlg dialog(path);
    if (RunModalDialog(dialog, owner, IDD_SKIN_DIALOG) != IDOK)
        return false;
    path = dialog.Path();
    return true;
}

}  // namespace option
