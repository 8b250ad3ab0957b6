// The base of Option's skinned modal dialogs. What they all do alike lives
// here: the skin's surface painted as the whole body, which the user drags
// the dialog by; what every host of skinned controls answers (SkinHost); Enter and Esc,
// which never close a dialog of ours; the OK, Cancel and close buttons. A
// dialog keeps its own controls, keys and what OK takes from them.
//
// The dialog class D derives from SkinDialog<D> and may define, for the base
// to call (declaring the base a friend when they are private):
//   void Build(const skin::ControlRow&, const skin::ButtonPos&, const skin::SkinSheets&)
//       makes the control of one row of its control table; by default a field
//       row is D's to make (BuildField) and any other row is the skin button
//       of its key in D's array `buttons_`;
//   void BuildField(const skin::ControlRow&, const skin::ButtonPos&)
//       makes the edit field of a field row (see MakeField);
//   bool Accept()       takes the fields on OK; false keeps the dialog open;
//   void PaintOver(HDC) draws over the skin's picture;
//   bool TakePress(POINT) takes a press on the body itself rather than
//                       letting it drag the dialog;
//   void KeepValues()   takes what its controls hold, other than the text of
//                       its edit fields, before they are made again from the
//                       skin set of a new display scale;
//   void ShowValues()   shows it in the controls made again.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "common/win/window.h"
#include "option/dialogs/dialog_parts_win.h"
#include "option/dialogs/modal_dialog_win.h"
#include "option/skin/keyboard_nav_win.h"
#include "option/skin/bitmap_edit_win.h"
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_host_win.h"
#include "option/skin/skin_loader_win.h"

namespace option {

// The non-template parts of SkinDialog.
namespace skin_dialog {

// The keyboard of a skinned dialog: Tab walks its controls in the order of
// the dialog's control table, Esc cancels it.
class DialogKeys final : public skin::KeyboardHost {
  public:
    DialogKeys() = default;
    ~DialogKeys() override;
    DialogKeys(const DialogKeys&) = delete;
    DialogKeys& operator=(const DialogKeys&) = delete;

    void Attach(HWND dialog);
    // The walk of the dialog's control table.
    void SetOrder(std::span<const skin::ControlRow> controls) { ids_ = skin::TabWalk(controls); }
    void AppendTabOrder(std::vector<HWND>& order) const override;
    skin::ArrowGroup GroupOf(HWND focus) const override;

  private:
    HWND dialog_ = nullptr;
    std::vector<int> ids_;
};

// Sets `title` (none when null), reads the skin into `surface` with the
// controls that `build` makes for the rows of `controls`, gives the window
// its outline and hands its keys, in the table's walk, to `keyboard`.
void PutOnSkin(skin::SkinSurface& surface, DialogKeys& keyboard, HWND self, const char* title,
               const std::string& skinFile, std::span<const skin::ControlRow> controls,
               const skin::RowMaker& build);

// The display scale changed: builds the dialog again from the set for
// `dpi`, between `keepValues` and `showValues`; the edit fields made again
// get back the text they had, and the dialog takes the place of `suggested`.
void Reskin(skin::SkinSurface& surface, DialogKeys& keyboard, HWND self, UINT dpi,
            const RECT* suggested, const std::string& skinFile,
            std::span<const skin::ControlRow> controls, const skin::RowMaker& build,
            const std::function<void()>& keepValues, const std::function<void()>& showValues);

// Runs the skinned dialog template modally: IDOK, IDCANCEL or -1.
INT_PTR Run(win::Window& dialog, HWND owner);

}  // namespace skin_dialog

template <class D>
class SkinDialog : public skin::SkinHost<D> {
  public:
    // Runs the dialog modally over `owner`; true when it was closed with OK.
    bool Run(HWND owner) { return skin_dialog::Run(*this, owner) == IDOK; }

    // Runs a dialog that edits `value` (D is made from it and gives it back
    // as Result()): on OK `value` takes what the user set and the answer is
    // true; otherwise `value` stays as it was.
    template <class Value>
    static bool Edit(HWND owner, Value& value) {
        D dialog(value);
        if (!dialog.Run(owner))
            return false;
        value = dialog.Result();
        return true;
    }

  protected:
    using Row = win::MessageRow<D>;

    // The body: painted from the skin, dragged by a press, and a new display
    // scale, which builds it again; then what every skinned host answers.
    static constexpr auto BodyRows() {
        return win::JoinRows(BodyOwnRows(), SkinDialog::HostRows());
    }
    static constexpr std::array<Row, 4> BodyOwnRows() {
        return {
            win::OnMessage<WM_DPICHANGED, &SkinDialog::OnDpiChanged, D>(),
            win::OnMessage<WM_PAINT, &SkinDialog::OnPaint, D>(),
            win::OnMessage<WM_ERASEBKGND, &SkinDialog::OnEraseBkgnd, D>(),
            win::OnMessage<WM_LBUTTONDOWN, &SkinDialog::OnLButtonDown, D>(),
        };
    }

    // Enter arrives from the dialog manager as IDOK and never closes the
    // dialog; Esc is taken before it and cancels (see DialogKeys). Closing the window cancels it:
    // that is how Option's main window ends the dialogs over it when Monitor closes Option, and the
    // dialog manager would turn it into a swallowed IDCANCEL.
    static constexpr std::array<Row, 3> ClosingRows() {
        return {
            win::OnCommand<&SkinDialog::OnSwallowedKey, D>(IDOK),
            win::OnCommand<&SkinDialog::OnSwallowedKey, D>(IDCANCEL),
            win::OnMessage<WM_CLOSE, &SkinDialog::OnCancel, D>(),
        };
    }

    // OK ends the dialog when D accepts what the user set; Cancel and the
    // close button end it cancelled.
    static constexpr std::array<Row, 3> ButtonRows(UINT okId, UINT cancelId, UINT closeId) {
        return {
            win::OnControl<&SkinDialog::OnOk, D>(BN_CLICKED, okId),
            win::OnControl<&SkinDialog::OnCancel, D>(BN_CLICKED, cancelId),
            win::OnControl<&SkinDialog::OnCancel, D>(BN_CLICKED, closeId),
        };
    }

    // A dialog's table, checked: the body and key rows, then its own.
    template <std::size_t N>
    static consteval auto Table(const Row (&own)[N]) {
        return win::Checked(win::JoinRows(BodyRows(), ClosingRows(), std::to_array(own)));
    }
    // A dialog's table, checked, with the OK, Cancel and close buttons of
    // these skin keys, its own rows and those it takes from a base between
    // it and SkinDialog.
    template <std::size_t N, std::size_t... M>
    static consteval auto Table(int okKey, int cancelKey, int closeKey, const Row (&own)[N],
                                const std::array<Row, M>&... inherited) {
        return win::Checked(win::JoinRows(
            BodyRows(), ClosingRows(),
            ButtonRows(DialogButtonId(okKey), DialogButtonId(cancelKey), DialogButtonId(closeKey)),
            inherited..., std::to_array(own)));
    }

    // `controls` outlives the dialog (a table of its own header).
    void PutOnSkin(const char* title, const std::string& skinFile,
                   std::span<const skin::ControlRow> controls) {
        skinFile_ = skinFile;
        controls_ = controls;
        skin_dialog::PutOnSkin(surface_, keyboard_, this->Hwnd(), title, skinFile, controls,
                               Builder());
    }

    HWND Owner() const { return GetWindow(this->Hwnd(), GW_OWNER); }

    // The start of a dialog's WM_INITDIALOG: the dialog manager's own
    // handling, whose answer this returns, then the skin (see PutOnSkin) and
    // the place over the owner.
    LRESULT OpenOnSkin(const DialogSkin& skin) {
        const LRESULT result = this->CallDefault();
        PutOnSkin(skin.title, skin.file, skin.controls);
        CentreWindow(this->Hwnd(), Owner());
        return result;
    }

    // The skin button of `row`.
    void MakeButton(skin::CSkinButton& button, const skin::ControlRow& row,
                    const skin::ButtonPos& pos, const skin::SkinSheets& sheets) {
        button.CreateFromRow(this->Hwnd(), row, pos, sheets);
    }
    // The skin button of `row`, the one of its key in `buttons`.
    template <std::size_t N>
    void MakeButton(std::array<skin::CSkinButton, N>& buttons, const skin::ControlRow& row,
                    const skin::ButtonPos& pos, const skin::SkinSheets& sheets) {
        MakeButton(buttons[static_cast<std::size_t>(row.key)], row, pos, sheets);
    }
    // The edit field of `row`, inside the plate the skin paints for it.
    void MakeField(skin::CBitmapEdit& field, DWORD style, const skin::ControlRow& row,
                   const skin::ButtonPos& pos, COLORREF text, COLORREF background) {
        CreatePlateField(field, style, skin::ToRect(pos.rect), this->Hwnd(),
                         static_cast<UINT>(row.id), text, background);
        field.SetHint(pos.caption);
    }

    void OnOk() {
        if (Self().Accept())
            EndDialog(this->Hwnd(), IDOK);
    }
    void OnCancel() { EndDialog(this->Hwnd(), IDCANCEL); }
    void OnSwallowedKey() {}

    // What D may hide.
    void Build(const skin::ControlRow& row, const skin::ButtonPos& pos,
               const skin::SkinSheets& sheets) {
        if (row.kind == skin::ControlKind::Field)
            Self().BuildField(row, pos);
        else
            MakeButton(Self().buttons_, row, pos, sheets);
    }
    void BuildField(const skin::ControlRow&, const skin::ButtonPos&) {}
    bool Accept() { return true; }
    void PaintOver(HDC) {}
    bool TakePress(POINT) { return false; }
    void KeepValues() {}
    void ShowValues() {}

    skin::SkinSurface surface_;
    skin_dialog::DialogKeys keyboard_;

  private:
    D& Self() { return static_cast<D&>(*this); }

    skin::RowMaker Builder() {
        return [this](const skin::ControlRow& row, const skin::ButtonPos& pos,
                      const skin::SkinSheets& sheets) { Self().Build(row, pos, sheets); };
    }

    LRESULT OnDpiChanged(UINT dpi, const RECT* suggested) {
        skin_dialog::Reskin(
            surface_, keyboard_, this->Hwnd(), dpi, suggested, skinFile_, controls_, Builder(),
            [this] { Self().KeepValues(); }, [this] { Self().ShowValues(); });
        return 0;
    }

    LRESULT OnPaint() {
        surface_.Paint(this->Hwnd(), [this](HDC dc) { Self().PaintOver(dc); });
        return 0;
    }
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnLButtonDown(UINT, POINT at) {
        if (Self().TakePress(at))
            return 0;
        skin::DragByBody(this->Hwnd(), at, false);
        return this->CallDefault();
    }

    // What PutOnSkin read, for building the dialog again.
    std::string skinFile_;
    std::span<const skin::ControlRow> controls_;
};

}  // namespace option
