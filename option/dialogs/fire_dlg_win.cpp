// Fire button dialog: the key to repeat (see KeyCaptureDialog) and the two
// numbers of the repeat.
#include <array>

#include "option/dialogs/dialog_parts_win.h"
#include "option/dialogs/fire_dlg_controls.h"
#include "option/dialogs/key_capture_dialog_win.h"
#include "option/dialogs/option_dialogs_win.h"
#include "option/model/dialogs/dialog_values.h"

namespace option {
namespace {

using namespace fire_dialog;
constexpr DialogSkin kSkin{"FireClick Dialog", "skin_fire_button.ini", kControls};
constexpr int kNumberDigits = 3;
constexpr COLORREF kFieldText = RGB(0, 0, 0);
constexpr COLORREF kFieldBack = RGB(255, 255, 255);

class CFireDlg : public KeyCaptureDialog<CFireDlg> {
  public:
    explicit CFireDlg(const FireSetting& fire) : KeyCaptureDialog(fire.keyCode), fire_(fire) {}
    ~CFireDlg() override { DestroyWindowNow(); }

    FireSetting Result() const { return fire_; }

    static std::span<const Row> MessageMap() {
        static constexpr Row own[] = {
            win::OnMessage<WM_INITDIALOG, &CFireDlg::OnInitDialog>(),
            win::OnRegistered<&CFireDlg::OnFieldLeft>(kEditKillFocus),
        };
        static constexpr auto rows =
            Table(kKeyOk, kKeyCancel, kKeyClose, own, KeyFieldRows(kControls, kKeyKeyField));
        return rows;
    }

  private:
    friend class SkinDialog<CFireDlg>;

    void BuildField(const skin::ControlRow& row, const skin::ButtonPos& pos) {
        if (row.key == kKeyKeyField) {
            MakeField(keyField_, ES_AUTOHSCROLL | ES_READONLY, row, pos, kFieldText, kFieldBack);
            return;
        }
        skin::CBitmapEdit& field = row.key == kKeyFieldA ? fieldA_ : fieldB_;
        MakeField(field, ES_AUTOHSCROLL, row, pos, kFieldText, kFieldBack);
        field.SetNumeric(true);
        SendMessageA(field.Hwnd(), EM_LIMITTEXT, kNumberDigits, 0);
    }

    LRESULT OnInitDialog() {
        OpenOnSkin(kSkin);
        fieldA_.SetText(FireFieldTextA(fire_.valueA));
        fieldB_.SetText(FireFieldTextB(fire_.valueB));
        ShowKey();
        StartCapture();
        SetFocus(keyField_.Hwnd());
        return FALSE;  // the focus is set
    }

    // A field lost the focus or changed: a number field the user has left
    // shows its value within range. The field being typed in is left alone,
    // so that clearing it to type a new number does not put a 1 back at once.
    void OnFieldLeft() {
        HWND focus = GetFocus();
        const FireNumbers numbers = FireNumbersFromText(fieldA_.Text(), fieldB_.Text());
        Normalise(fieldA_, numbers.valueA, focus);
        Normalise(fieldB_, numbers.valueB, focus);
    }

    static void Normalise(skin::CBitmapEdit& field, std::int32_t value, HWND focus) {
        const std::string text = std::to_string(value);
        if (field.Hwnd() != focus && field.Text() != text)
            field.SetText(text);
    }

    bool Accept() {
        const FireNumbers numbers = FireNumbersFromText(fieldA_.Text(), fieldB_.Text());
        fire_.valueA = numbers.valueA;
        fire_.valueB = numbers.valueB;
        fire_.keyCode = KeyCode();
        return true;
    }

    FireSetting fire_;
    std::array<skin::CSkinButton, kKeyClose + 1> buttons_;
    skin::CBitmapEdit fieldA_;
    skin::CBitmapEdit fieldB_;
};

}  // namespace

bool RunFireDialog(HWND owner, FireSetting& fire) {
    return CFireDlg::Edit(owner, fire);
}

}  // namespace option
