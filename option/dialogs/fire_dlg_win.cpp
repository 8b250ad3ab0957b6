// Fire button dialog: the key to repeat, captured through the key capture
// hook while its field has the focus, and the two numbers of the repeat.
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

constexpr const char* kSkinFile = "skin_fire_button.ini";
constexpr const char* kTitle = "FireClick Dialog";
constexpr const char* const kKeys[] = {"1", "2", "3", "4", "5", "6"};
constexpr int kKeyOk = 1;
constexpr int kKeyCancel = 2;
constexpr int kKeyClose = 3;
constexpr int kKeyKeyField = 4;
constexpr int kKeyFieldB = 5;
constexpr int kKeyFieldA = 6;
constexpr UINT kKeyFieldId = 4010;
constexpr UINT kFieldBId = 4020;
constexpr UINT kFieldAId = 4030;
constexpr int kNumberDigits = 3;
constexpr COLORREF kFieldText = RGB(0, 0, 0);
constexpr COLORREF kFieldBack = RGB(255, 255, 255);

class CFireDlg : public win::WindowImpl<CFireDlg> {
  public:
    explicit CFireDlg(const FireSetting& fire)
        : fire_(fire), key_(KeyFieldOf(fire.keyCode, settings::CurrentKeyboardLayout())) {}

    FireSetting Result() const { return fire_; }

    static std::span<const win::MessageRow<CFireDlg>> MessageMap() {
        static const win::MessageRow<CFireDlg> rows[] = {
            win::OnMessage<WM_INITDIALOG, &CFireDlg::OnInitDialog>(),
            win::OnMessage<WM_DESTROY, &CFireDlg::OnDestroy>(),
            win::OnMessage<WM_PAINT, &CFireDlg::OnPaint>(),
            win::OnMessage<WM_ERASEBKGND, &CFireDlg::OnEraseBkgnd>(),
            win::OnMessage<WM_LBUTTONDOWN, &CFireDlg::OnLButtonDown>(),
            win::OnMessage<WM_CTLCOLOREDIT, &CFireDlg::OnCtlColor>(),
            win::OnMessage<WM_CTLCOLORSTATIC, &CFireDlg::OnCtlColor>(),
            win::OnMessage<kMsgCapturedKey, &CFireDlg::OnCapturedKey>(),
            win::OnRegistered<&CFireDlg::OnFieldLeft>(EditKillFocus()),
            // Enter and Esc never close the dialog.
            win::OnCommand<&CFireDlg::OnSwallowedKey>(IDOK),
            win::OnCommand<&CFireDlg::OnSwallowedKey>(IDCANCEL),
            win::OnControl<&CFireDlg::OnOk>(BN_CLICKED, DialogButtonId(kKeyOk)),
            win::OnControl<&CFireDlg::OnCancel>(BN_CLICKED, DialogButtonId(kKeyCancel)),
            win::OnControl<&CFireDlg::OnCancel>(BN_CLICKED, DialogButtonId(kKeyClose)),
        };
        return rows;
    }

  private:
    void Build(const char* keyText, const skin::ButtonPos& pos, const skin::SkinSheets& sheets) {
        const int key = std::atoi(keyText);
        const RECT plate = skin::ToRect(pos.rect);
        switch (key) {
            case kKeyKeyField:
                CreatePlateField(keyField_, ES_AUTOHSCROLL | ES_READONLY, plate, Hwnd(),
                                 kKeyFieldId, kFieldText, kFieldBack);
                break;
            case kKeyFieldA:
            case kKeyFieldB: {
                skin::CBitmapEdit& field = key == kKeyFieldA ? fieldA_ : fieldB_;
                CreatePlateField(field, ES_AUTOHSCROLL, plate, Hwnd(),
                                 key == kKeyFieldA ? kFieldAId : kFieldBId, kFieldText, kFieldBack);
                field.SetNumeric(true);
                SendMessageA(field.Hwnd(), EM_LIMITTEXT, kNumberDigits, 0);
                break;
            }
            default: {
                skin::CSkinButton& button = buttons_[static_cast<std::size_t>(key)];
                button.CreateFromPos(Hwnd(), pos, DialogButtonId(key), sheets);
                button.SetTag(key);
                break;
            }
        }
    }

    LRESULT OnInitDialog() {
        CallDefault();
        HWND self = Hwnd();
        SetWindowTextA(self, kTitle);
        surface_.InitSkin(self, kSkinFile, kKeys,
                          [this](std::size_t, const char* key, const skin::ButtonPos& pos,
                                 const skin::SkinSheets& sheets) { Build(key, pos, sheets); });
        surface_.ApplyShape(self);
        fieldA_.SetText(FireFieldTextA(fire_.valueA));
        fieldB_.SetText(FireFieldTextB(fire_.valueB));
        keyField_.SetText(key_.name);
        capture_.Start(self);
        CentreWindow(self, GetWindow(self, GW_OWNER));
        SetFocus(keyField_.Hwnd());
        return FALSE;  // the focus is set
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

    LRESULT OnCapturedKey(win::WParam<unsigned> virtualKey) {
        if (TakeCapturedKey(key_, virtualKey.value, settings::CurrentKeyboardLayout()))
            keyField_.SetText(key_.name);
        return 0;
    }

    // A field lost the focus or changed: the capture runs exactly while the
    // key field has the focus, and a number field the user has left shows
    // its value within range. The field being typed in is left alone, so
    // that clearing it to type a new number does not put a 1 back at once.
    void OnFieldLeft() {
        HWND focus = GetFocus();
        if (focus == keyField_.Hwnd() && !capture_.Active())
            capture_.Start(Hwnd());
        else if (focus != keyField_.Hwnd() && capture_.Active())
            capture_.Stop();
        const FireNumbers numbers = FireNumbersFromText(fieldA_.Text(), fieldB_.Text());
        Normalise(fieldA_, numbers.valueA, focus);
        Normalise(fieldB_, numbers.valueB, focus);
    }

    static void Normalise(skin::CBitmapEdit& field, std::int32_t value, HWND focus) {
        const std::string text = std::to_string(value);
        if (field.Hwnd() != focus && field.Text() != text)
            field.SetText(text);
    }

    void OnSwallowedKey() {}

    void OnOk() {
        const FireNumbers numbers = FireNumbersFromText(fieldA_.Text(), fieldB_.Text());
        fire_.valueA = numbers.valueA;
        fire_.valueB = numbers.valueB;
        fire_.keyCode = key_.keyCode;
        EndDialog(Hwnd(), IDOK);
    }
    void OnCancel() { EndDialog(Hwnd(), IDCANCEL); }

    FireSetting fire_;
    KeyField key_;
    skin::SkinSurface surface_;
    std::array<skin::CSkinButton, kKeyClose + 1> buttons_;
    skin::CBitmapEdit keyField_;
    skin::CBitmapEdit fieldA_;
    skin::CBitmapEdit fieldB_;
    ScopedKeyCapture capture_;
};

}  // namespace

bool RunFireDialog(HWND owner, FireSetting& fire) {
    CFireDlg dialog(fire);
    if (RunModalDialog(dialog, owner, IDD_SKIN_DIALOG) != IDOK)
        return false;
    fire = dialog.Result();
    return true;
}

}  // namespace option
