// The base of the skinned dialogs that take one key in a read-only field:
// the key is captured through the key capture hook exactly while that field
// has the focus, however the focus came there (a click, Tab from a field or
// from a button), and shown by the name of the code that will be stored. A
// keyboard user who walked on to the buttons presses them with Space and
// Enter instead of typing those as the key.
//
// D derives from KeyCaptureDialog<D>, adds KeyFieldRows to its table, makes
// `keyField_` for the field's row and starts the capture when it opens.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <span>

#include "common/settings/key_codes_win.h"
#include "option/dialogs/skin_dialog_win.h"
#include "option/key_capture_hook_win.h"
#include "option/model/dialogs/dialog_values.h"

namespace option {

template <class D>
class KeyCaptureDialog : public SkinDialog<D> {
  public:
    std::uint8_t KeyCode() const { return key_.keyCode; }

  protected:
    using Row = win::MessageRow<D>;

    explicit KeyCaptureDialog(std::uint8_t keyCode)
        : key_(KeyFieldOf(keyCode, settings::CurrentKeyboardLayout())) {}

    // The rows of the key field of skin key `fieldKey` in `controls`.
    static constexpr std::array<Row, 4> KeyFieldRows(std::span<const skin::ControlRow> controls,
                                                     int fieldKey) {
        const UINT id = static_cast<UINT>(skin::RowOfKey(controls, fieldKey)->id);
        return {
            win::OnMessage<WM_DESTROY, &KeyCaptureDialog::OnDestroy, D>(),
            win::OnMessage<kMsgCapturedKey, &KeyCaptureDialog::OnCapturedKey, D>(),
            win::OnControl<&KeyCaptureDialog::StartCapture, D>(EN_SETFOCUS, id),
            win::OnControl<&KeyCaptureDialog::StopCapture, D>(EN_KILLFOCUS, id),
        };
    }

    void StartCapture() { capture_.Start(this->Hwnd(), CapturedKeys::ButDialogKeys); }
    void StopCapture() { capture_.Stop(); }
    void ShowKey() { keyField_.SetText(key_.name); }

    skin::CBitmapEdit keyField_;

  private:
    LRESULT OnDestroy() {
        capture_.Stop();
        return this->CallDefault();
    }

    // Presses and releases alike: the last key message decides.
    LRESULT OnCapturedKey(win::WParam<unsigned> virtualKey) {
        if (TakeCapturedKey(key_, virtualKey.value, settings::CurrentKeyboardLayout()))
            ShowKey();
        return 0;
    }

    KeyField key_;
    ScopedKeyCapture capture_;
};

}  // namespace option
