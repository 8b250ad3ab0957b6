// Fire button dialog: the key to repeat, captured through the key capture
// hook while its field has the focus, and the two numbers of the repeat.
#include <array>

#include "common/settings/key_codes_win.h"
#include "option/dialogs/dialog_parts_win.h"
#include "option/dialogs/fire_dlg_controls.h"
#include "option/dialogs/modal_dialog_win.h"
#include "option/dialogs/option_dialogs_win.h"
#include "option/dialogs/skin_dialog_win.h"
#include "option/key_capture_hook_win.h"
#include "option/model/dialogs/dialog_values.h"

namespace option {
namespace {

constexpr const char* kSkinFile = "skin_fire_button.ini";
constexpr const char* kTitle = "FireClick Dialog";
using namespace fire_dialog;
constexpr UINT kKeyFieldId = static_cast<UINT>(skin::RowOfKey(kControls, kKeyKeyField)->id);
constexpr int kNumberDigits = 3;
constexpr COLORREF kFieldText = RGB(0, 0, 0);
constexpr COLORREF kFieldBack = RGB(255, 255, 255);

class CFireDlg : public SkinDialog<CFireDlg> {
  public:
    explicit CFireDlg(const FireSetting& fire)
        : fire_(fire), key_(KeyFieldOf(fire.keyCode, settings::CurrentKeyboardLayout())) {}
    ~CFireDlg() override { DestroyWindowNow(); }

    FireSetting Result() const { return fire_; }

    static std::span<const Row> MessageMap() {
        static constexpr Row own[] = {
            win::OnMessage<WM_INITDIALOG, &CFireDlg::OnInitDialog>(),
            win::OnMessage<WM_DESTROY, &CFireDlg::OnDestroy>(),
            win::OnMessage<kMsgCapturedKey, &CFireDlg::OnCapturedKey>(),
            win::OnRegistered<&CFireDlg::OnFieldLeft>(kEditKillFocus),
            win::OnControl<&CFireDlg::OnKeyFieldFocus>(EN_SETFOCUS, kKeyFieldId),
            win::OnControl<&CFireDlg::OnKeyFieldLeft>(EN_KILLFOCUS, kKeyFieldId),
        };
        static constexpr auto rows = Table(kKeyOk, kKeyCancel, kKeyClose, own);
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
        OpenOnSkin(kTitle, kSkinFile, kControls);
        fieldA_.SetText(FireFieldTextA(fire_.valueA));
        fieldB_.SetText(FireFieldTextB(fire_.valueB));
        keyField_.SetText(key_.name);
        capture_.Start(Hwnd(), CapturedKeys::ButDialogKeys);
        SetFocus(keyField_.Hwnd());
        return FALSE;  // the focus is set
    }

    LRESULT OnDestroy() {
        capture_.Stop();
        return CallDefault();
    }

    LRESULT OnCapturedKey(win::WParam<unsigned> virtualKey) {
        if (TakeCapturedKey(key_, virtualKey.value, settings::CurrentKeyboardLayout()))
            keyField_.SetText(key_.name);
        return 0;
    }

    // The capture runs exactly while the key field has the focus, however
    // the focus came there (a click, Tab from a field or from a button).
    void OnKeyFieldFocus() { capture_.Start(Hwnd(), CapturedKeys::ButDialogKeys); }
    void OnKeyFieldLeft() { capture_.Stop(); }

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
        fire_.keyCode = key_.keyCode;
        return true;
    }

    FireSetting fire_;
    KeyField key_;
    std::array<skin::CSkinButton, kKeyClose + 1> buttons_;
    skin::CBitmapEdit keyField_;
    skin::CBitmapEdit fieldA_;
    skin::CBitmapEdit fieldB_;
    ScopedKeyCapture capture_;
};

}  // namespace

bool RunFireDialog(HWND owner, FireSetting& fire) {
    return CFireDlg::Edit(owner, fire);
}

}  // namespace option
