// Shortcut dialog: one key (see KeyCaptureDialog) and the five modifier
// toggles.
#include <array>

#include "option/dialogs/dialog_parts_win.h"
#include "option/dialogs/key_capture_dialog_win.h"
#include "option/dialogs/option_dialogs_win.h"
#include "option/dialogs/shortcut_dlg_controls.h"
#include "option/model/dialogs/dialog_values.h"

namespace option {
namespace {

using namespace shortcut_dialog;
constexpr DialogSkin kSkin{"K.VANE Shortcut Dialog", "skin_shortcut.ini", kControls};

class CShortcutDlg : public KeyCaptureDialog<CShortcutDlg> {
  public:
    CShortcutDlg(std::uint8_t keyCode, const ShortcutToggles& toggles)
        : KeyCaptureDialog(keyCode), toggles_(toggles) {}
    ~CShortcutDlg() override { DestroyWindowNow(); }

    const ShortcutToggles& Toggles() const { return toggles_; }

    static std::span<const Row> MessageMap() {
        static constexpr Row own[] = {
            win::OnMessage<WM_INITDIALOG, &CShortcutDlg::OnInitDialog>(),
            win::OnCommandRange<&CShortcutDlg::OnToggle>(DialogButtonId(kKeyFirstToggle),
                                                         DialogButtonId(kKeyFirstToggle + 4)),
        };
        static constexpr auto rows =
            Table(kKeyOk, kKeyCancel, kKeyClose, own, KeyFieldRows(kControls, kKeyField));
        return rows;
    }

  private:
    friend class SkinDialog<CShortcutDlg>;

    void BuildField(const skin::ControlRow& row, const skin::ButtonPos& pos) {
        MakeField(keyField_, ES_CENTER | ES_AUTOHSCROLL | ES_READONLY, row, pos, RGB(0, 0, 0),
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
        const LRESULT result = OpenOnSkin(kSkin);
        StartCapture();
        ShowKey();
        ApplyToggles();
        return result;
    }

    // The latching button has just flipped itself; the toggle follows it.
    void OnToggle(UINT id, UINT code) {
        if (code != BN_CLICKED)
            return;
        const std::size_t index = id - DialogButtonId(kKeyFirstToggle);
        toggles_[index] = buttons_[kKeyFirstToggle + index].Latched();
        ApplyToggles();
    }

    ShortcutToggles toggles_;
    std::array<skin::CSkinButton, kKeyFirstToggle + 5> buttons_;
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
