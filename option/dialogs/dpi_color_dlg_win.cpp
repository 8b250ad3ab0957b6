// The DPI colour dialog ("skin_dpi_color.ini"): the colour of one CPI
// level's indicator LED, picked from the spectrum of the background picture
// or set byte by byte in three spin boxes.
#include <array>

#include "common/trace_points.h"
#include "common/win/program_folder_win.h"
#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "option/dialogs/dpi_color_dlg_controls.h"
#include "option/dialogs/modal_dialog_win.h"
#include "option/dialogs/option_dialogs_win.h"
#include "option/dialogs/skin_dialog_win.h"
#include "lan/string_ids.h"
#include "option/option_globals_win.h"
#include "option/skin/color_pick_stop_win.h"
#include "option/skin/spin_box_win.h"
#include "option/model/pages/color_bytes.h"
#include "option/model/dialogs/dpi_color_fields.h"

namespace option {
namespace {

using namespace dpi_color_dialog;
constexpr DialogSkin kSkin{nullptr, "skin_dpi_color.ini", kControls};

class CDpiColorDlg : public SkinDialog<CDpiColorDlg> {
  public:
    explicit CDpiColorDlg(std::uint32_t color) : color_(color & 0x00FFFFFFu) {}
    std::uint32_t Result() const { return color_; }

    static std::span<const Row> MessageMap() {
        using Dlg = CDpiColorDlg;
        static constexpr Row own[] = {
            win::OnMessage<WM_INITDIALOG, &Dlg::OnInitDialog>(),
            win::OnMessage<WM_SETCURSOR, &Dlg::OnSetCursor>(),
            win::OnMessage<skin::kMsgSpinValue, &Dlg::OnSpin>(),
            win::OnCommand<&Dlg::OnOk, Dlg>(ButtonId(kKeyOk)),
            win::OnCommand<&Dlg::OnCancel, Dlg>(ButtonId(kKeyCancel)),
            win::OnCommand<&Dlg::OnCancel, Dlg>(ButtonId(kKeyClose)),
            // Esc cancels; Enter belongs to the spin boxes' fields and
            // never closes the dialog.
            win::OnCommand<&Dlg::OnCancel, Dlg>(IDCANCEL),
            win::OnCommand<&Dlg::OnSwallowedKey, Dlg>(IDOK),
        };
        static constexpr auto rows = win::Checked(win::JoinRows(BodyRows(), std::to_array(own)));
        return rows;
    }

  private:
    friend class SkinDialog<CDpiColorDlg>;

    void Build(const skin::ControlRow& row, const skin::ButtonPos& pos,
               const skin::SkinSheets& sheets) {
        const RECT r = skin::ToRect(pos.rect);
        HWND self = Hwnd();
        const UINT id = static_cast<UINT>(row.id);
        if (row.kind == skin::ControlKind::Area) {
            swatch_ = r;
        } else if (row.kind == skin::ControlKind::Spectrum) {
            spectrum_ = r;
            // The keyboard's way into the spectrum; the mouse passes it by.
            spectrumStop_.Create(self, r, id, surface_);
            spectrumStop_.SetAccessibleName(pos.caption);
        } else if (row.kind == skin::ControlKind::SpinBox) {
            skin::CSpinBox& spin = spins_[static_cast<std::size_t>(row.key - kKeyRed)];
            spin.Create(r, self, id);
            spin.SetBitmaps(r, sheets);
            spin.SetRange(0, 255);
            spin.SetStep(1);
            spin.SetHint(pos.caption);
        } else {
            skin::CSkinButton& button = buttons_[static_cast<std::size_t>(row.key)];
            button.CreateFromPos(self, pos, id, sheets);
            button.SetTag(row.key);
        }
    }

    void ShowColor() {
        for (int c = 0; c < 3; ++c) {
            skin::CSpinBox& spin = spins_[static_cast<std::size_t>(c)];
            if (spin.Hwnd() != nullptr)
                spin.SetValue(ChannelOf(color_, static_cast<Channel>(c)));
        }
        ShowSwatch();
    }

    void ShowSwatch() {
        spectrumStop_.ShowColor(color_);
        InvalidateRect(Hwnd(), &swatch_, FALSE);
    }

    void ShowValues() { ShowColor(); }

    bool InSpectrum(POINT p) const { return PtInRect(&spectrum_, p) != FALSE; }

    LRESULT OnInitDialog() {
        const LRESULT result = OpenOnSkin(kSkin);
        ShowColor();
        // The dialog manager would choose the first button it meets; the
        // keyboard starts on the first control of the order.
        if (skin::FocusFirst(keyboard_))
            return FALSE;
        return result;
    }

    void PaintOver(HDC dc) {
        win::ScopedGdi<HBRUSH> brush(CreateSolidBrush(color_));
        FillRect(dc, &swatch_, brush.Get());
    }

    // A press on the spectrum picks a colour; elsewhere it drags the dialog.
    bool TakePress(POINT at) {
        if (!InSpectrum(at))
            return false;
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS)));
        // The colour under the pointer is the background picture's pixel
        // there, as the dialog shows it.
        win::ScopedDc memory(CreateCompatibleDC(nullptr));
        win::ScopedSelect keep(memory.Get(), surface_.Background());
        const COLORREF picked = GetPixel(memory.Get(), at.x, at.y);
        if (picked != CLR_INVALID) {
            color_ = picked & 0x00FFFFFFu;
            ShowColor();
        }
        return true;
    }

    LRESULT OnSetCursor(HWND, int hit, UINT) {
        if (hit != HTCLIENT)
            return CallDefault();
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(Hwnd(), &p);
        SetCursor(
            LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(InSpectrum(p) ? IDC_CROSS : IDC_ARROW)));
        return TRUE;
    }

    LRESULT OnSpin(win::WParam<int> value, win::LParam<int> id) {
        win::DebugText(trace::kSpinValueTaken, id.value);
        color_ = ColorAfterSpin(color_, id.value, value.value);
        ShowSwatch();
        return 0;
    }

    bool Accept() {
        InvalidateRect(Hwnd(), &swatch_, FALSE);
        UpdateWindow(Hwnd());
        return true;
    }

    std::uint32_t color_;
    std::array<skin::CSkinButton, 6> buttons_;  // by key: OK, cancel, close
    std::array<skin::CSpinBox, 3> spins_;
    skin::CSpectrumStop spectrumStop_;
    RECT swatch_{};
    RECT spectrum_{};
};

}  // namespace

bool RunDpiColorDialog(HWND owner, std::uint32_t& color) {
    return CDpiColorDlg::Edit(owner, color);
}

}  // namespace option
