// Shortcut dialog: one key captured through the key capture hook, shown by
// the name of the code that will be stored, and the five modifier toggles.
#include <array>

#include "common/settings/key_codes_win.h"
#include "option/dialogs/dialog_parts_win.h"
#include "option/dialogs/modal_dialog_win.h"
#include "option/dialogs/option_dialogs_win.h"
#include "option/dialogs/shortcut_dlg_controls.h"
#include "option/dialogs/skin_dialog_win.h"
#include "option/key_capture_hook_win.h"
#include "option/model/dialogs/dialog_values.h"

namespace option {
namespace {

constexpr const char* kSkinFile = "skin_shortcut.ini";
constexpr const char* kTitle = "K.VANE Shortcut Dialog";
using namespace shortcut_dialog;
constexpr UINT kKeyFieldId = static_cast<UINT>(skin::RowOfKey(kControls, kKeyField)->id);

class CShortcutDlg : public SkinDialog<CShortcutDlg> {
  public:
    CShortcutDlg(std::uint8_t keyCode, const ShortcutToggles& toggles)
        : key_(KeyFieldOf(keyCode, settings::CurrentKeyboardLayout())), toggles_(toggles) {}
    ~CShortcutDlg() override { DestroyWindowNow(); }

    std::uint8_t KeyCode() const { return key_.keyCode; }
    const ShortcutToggles& Toggles() const { return toggles_; }

    static std::span<const Row> MessageMap() {
        static constexpr Row own[] = {
            win::OnMessage<WM_INITDIALOG, &CShortcutDlg::OnInitDialog>(),
            win::OnMessage<WM_DESTROY, &CShortcutDlg::OnDestroy>(),
            win::OnMessage<kMsgCapturedKey, &CShortcutDlg::OnCapturedKey>(),
            win::OnControl<&CShortcutDlg::OnKeyFieldFocus>(EN_SETFOCUS, kKeyFieldId),
            win::OnControl<&CShortcutDlg::OnKeyFieldLeft>(EN_KILLFOCUS, kKeyFieldId),
            win::OnCommandRange<&CShortcutDlg::OnToggle>(DialogButtonId(kKeyFirstToggle),
                                                         DialogButtonId(kKeyFirstToggle + 4)),
        };
        static constexpr auto rows = Table(kKeyOk, kKeyCancel, kKeyClose, own);
        return rows;
    }

  private:
    friend class SkinDialog<CShortcutDlg>;

    void BuildField(const skin::ControlRow& row, const skin::ButtonPos& pos) {
        MakeField(field_, ES_CENTER | ES_AUTOHSCROLL | ES_READONLY, row, pos, RGB(0, 0, 0),
                  RGB(255, 255, 255));
    }

    void ApplyToggles() {
        const ToggleButtons look = ToggleButtonStates(toggles_);
        for (std::size_t i = 0; i < look.latched.size(); ++i) {
            skin::CSkinButton& button = buttons_[kKeyFirstToggle + i];
            if (button.Hwnd() == nullptr)
                continue;
            button.SetLatched(look.latched[i]);
            EnableWindow(button.Hwnd(), look.enabled[i] ? TRUE : FALSE);
            InvalidateRect(button.Hwnd(), nullptr, FALSE);
        }
    }

    void ShowValues() { ApplyToggles(); }

    LRESULT OnInitDialog() {
        const LRESULT result = OpenOnSkin(kTitle, kSkinFile, kControls);
        capture_.Start(Hwnd(), CapturedKeys::ButDialogKeys);
        field_.SetText(key_.name);
        ApplyToggles();
        return result;
    }

    LRESULT OnDestroy() {
        capture_.Stop();
        return CallDefault();
    }

    // The capture runs while the key field has the focus: the mouse never
    // moves it away, and a keyboard user who walked on to the toggles or OK
    // presses them with Space and Enter instead of typing those as the key.
    void OnKeyFieldFocus() { capture_.Start(Hwnd(), CapturedKeys::ButDialogKeys); }
    void OnKeyFieldLeft() { capture_.Stop(); }

    // Presses and releases alike: the last key message decides.
    LRESULT OnCapturedKey(win::WParam<unsigned> virtualKey) {
        if (TakeCapturedKey(key_, virtualKey.value, settings::CurrentKeyboardLayout()))
            field_.SetText(key_.name);
        return 0;
    }

    // The latching button has just flipped itself; the toggle follows it.
    void OnToggle(UINT id, UINT code) {
        if (code != BN_CLICKED)
            return;
        const std::size_t index = id - DialogButtonId(kKeyFirstToggle);
        toggles_[index] = buttons_[kKeyFirstToggle + index].Latched();
        ApplyToggles();
    }

    KeyField key_;
    ShortcutToggles toggles_;
    std::array<skin::CSkinButton, kKeyFirstToggle + 5> buttons_;
    skin::CBitmapEdit field_;
    ScopedKeyCapture capture_;
};

}  // namespace

bool RunShortcutDialog(HWND owner, std::uint8_t& keyCode, ShortcutToggles& toggles) {
    CShortcutDlg dialog(keyCode, toggles);
    if (!dialog.Run(owner))
        return false;
    keyCode = dialog.KeyCode();
    toggles = dialog.Toggles();
    return true;
}

}  // namespace option
