// Shortcut dialog: one key captured through the key capture hook, shown by
// the name of the code that will be stored, and the five modifier toggles.
#include <array>

#include "common/settings/key_codes_win.h"
#include "option/dialogs/dialog_parts_win.h"
#include "option/dialogs/modal_dialog_win.h"
#include "option/dialogs/option_dialogs_win.h"
#include "option/key_capture_hook_win.h"
#include "option/option_resource_ids.h"
#include "option/pages/model/dialog_values.h"
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_loader_win.h"

namespace option {
namespace {

constexpr const char* kSkinFile = "skin_shortcut.ini";
constexpr const char* kTitle = "K.VANE Shortcut Dialog";
constexpr const char* const kKeys[] = {"2", "3", "4", "5", "6", "7", "8", "9", "10"};
constexpr int kKeyOk = 2;
constexpr int kKeyCancel = 3;
constexpr int kKeyClose = 4;
constexpr int kKeyFirstToggle = 5;  // plain key, Ctrl, Shift, Alt, Win
constexpr int kKeyField = 10;
constexpr UINT kKeyFieldId = 4010;

class CShortcutDlg : public win::WindowImpl<CShortcutDlg> {
  public:
    CShortcutDlg(std::uint8_t keyCode, const ShortcutToggles& toggles)
        : key_(KeyFieldOf(keyCode, settings::CurrentKeyboardLayout())), toggles_(toggles) {}

    std::uint8_t KeyCode() const { return key_.keyCode; }
    const ShortcutToggles& Toggles() const { return toggles_; }

    static std::span<const win::MessageRow<CShortcutDlg>> MessageMap() {
        static const win::MessageRow<CShortcutDlg> rows[] = {
            win::OnMessage<WM_INITDIALOG, &CShortcutDlg::OnInitDialog>(),
            win::OnMessage<WM_DESTROY, &CShortcutDlg::OnDestroy>(),
            win::OnMessage<WM_PAINT, &CShortcutDlg::OnPaint>(),
            win::OnMessage<WM_ERASEBKGND, &CShortcutDlg::OnEraseBkgnd>(),
            win::OnMessage<WM_LBUTTONDOWN, &CShortcutDlg::OnLButtonDown>(),
            win::OnMessage<WM_CTLCOLOREDIT, &CShortcutDlg::OnCtlColor>(),
            win::OnMessage<WM_CTLCOLORSTATIC, &CShortcutDlg::OnCtlColor>(),
            win::OnMessage<kMsgCapturedKey, &CShortcutDlg::OnCapturedKey>(),
            // Enter and Esc never close the dialog.
            win::OnCommand<&CShortcutDlg::OnSwallowedKey>(IDOK),
            win::OnCommand<&CShortcutDlg::OnSwallowedKey>(IDCANCEL),
            win::OnControl<&CShortcutDlg::OnOk>(BN_CLICKED, DialogButtonId(kKeyOk)),
            win::OnControl<&CShortcutDlg::OnCancel>(BN_CLICKED, DialogButtonId(kKeyCancel)),
            win::OnControl<&CShortcutDlg::OnCancel>(BN_CLICKED, DialogButtonId(kKeyClose)),
            win::OnCommandRange<&CShortcutDlg::OnToggle>(DialogButtonId(kKeyFirstToggle),
                                                         DialogButtonId(kKeyFirstToggle + 4)),
        };
        return rows;
    }

  private:
    void Build(const char* keyText, const skin::ButtonPos& pos, const skin::SkinSheets& sheets) {
        const int key = std::atoi(keyText);
        if (key == kKeyField) {
            CreatePlateField(field_, ES_CENTER | ES_AUTOHSCROLL | ES_READONLY,
                             skin::ToRect(pos.rect), Hwnd(), kKeyFieldId, RGB(0, 0, 0),
                             RGB(255, 255, 255));
            return;
        }
        skin::CSkinButton& button = buttons_[static_cast<std::size_t>(key)];
        button.CreateFromPos(Hwnd(), pos, DialogButtonId(key), sheets);
        button.SetTag(key);
        if (key >= kKeyFirstToggle && key < kKeyFirstToggle + 5)
            button.SetLatchingMode(1);
    }

    void ApplyToggles() {
        const ToggleButtons look = ToggleButtonStates(toggles_);
        for (std::size_t i = 0; i < look.latched.size(); ++i) {
            skin::CSkinButton& button = buttons_[kKeyFirstToggle + i];
            if (button.Hwnd() == nullptr)
                continue;
            button.SetLatched(look.latched[i] ? 1 : 0);
            EnableWindow(button.Hwnd(), look.enabled[i] ? TRUE : FALSE);
            InvalidateRect(button.Hwnd(), nullptr, FALSE);
        }
    }

    LRESULT OnInitDialog() {
        const LRESULT result = CallDefault();
        HWND self = Hwnd();
        SetWindowTextA(self, kTitle);
        surface_.InitSkin(self, kSkinFile, kKeys,
                          [this](std::size_t, const char* key, const skin::ButtonPos& pos,
                                 const skin::SkinSheets& sheets) { Build(key, pos, sheets); });
        surface_.ApplyShape(self);
        CentreWindow(self, GetWindow(self, GW_OWNER));
        capture_.Start(self);
        field_.SetText(key_.name);
        ApplyToggles();
        return result;
    }

    LRESULT OnDestroy() {
        capture_.Stop();
        return CallDefault();
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

    // Presses and releases alike: the last key message decides.
    LRESULT OnCapturedKey(win::WParam<unsigned> virtualKey) {
        if (TakeCapturedKey(key_, virtualKey.value, settings::CurrentKeyboardLayout()))
            field_.SetText(key_.name);
        return 0;
    }

    void OnSwallowedKey() {}
    void OnOk() { EndDialog(Hwnd(), IDOK); }
    void OnCancel() { EndDialog(Hwnd(), IDCANCEL); }

    // The latching button has just flipped itself; the toggle follows it.
    void OnToggle(UINT id, UINT code) {
        if (code != BN_CLICKED)
            return;
        const std::size_t index = id - DialogButtonId(kKeyFirstToggle);
        toggles_[index] = buttons_[kKeyFirstToggle + index].Latched() != 0;
        ApplyToggles();
    }

    KeyField key_;
    ShortcutToggles toggles_;
    skin::SkinSurface surface_;
    std::array<skin::CSkinButton, kKeyFirstToggle + 5> buttons_;
    skin::CBitmapEdit field_;
    ScopedKeyCapture capture_;
};

}  // namespace

bool RunShortcutDialog(HWND owner, std::uint8_t& keyCode, ShortcutToggles& toggles) {
    CShortcutDlg dialog(keyCode, toggles);
    if (RunModalDialog(dialog, owner, IDD_SKIN_DIALOG) != IDOK)
        return false;
    keyCode = dialog.KeyCode();
    toggles = dialog.Toggles();
    return true;
}

}  // namespace option
