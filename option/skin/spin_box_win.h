// The skinned spin box: an edit field between an up and a down button.
#pragma once

#include <windows.h>

#include <string>

#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "option/skin/bitmap_edit_win.h"
#include "option/skin/hover_hint_win.h"
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/state_images_win.h"

namespace skin {

class CSpinBox : public HintedControl<CSpinBox> {
  public:
    CSpinBox() = default;
    ~CSpinBox() override;

    bool Create(const RECT& r, HWND parent, UINT id);
    void SetBitmaps(const RECT& r, HBITMAP normal, HBITMAP over, HBITMAP down, HBITMAP disabled);
    void SetBitmaps(const RECT& r, const SkinSheets& sheets) {
        SetBitmaps(r, sheets.Get(ButtonImage::Normal), sheets.Get(ButtonImage::Over),
                   sheets.Get(ButtonImage::Down), sheets.Get(ButtonImage::Disabled));
    }
    void SetRange(int minimum, int maximum);
    void SetStep(int step) { step_ = step < 1 ? 1 : step; }
    void SetValue(int value);
    void SetHint(const std::string& text);

    int Value() const { return value_; }
    CBitmapEdit& Edit() { return edit_; }
    CSkinButton& UpButton() { return up_; }
    CSkinButton& DownButton() { return down_; }

    static constexpr UINT kUpId = 402;
    static constexpr UINT kDownId = 403;

    static std::span<const win::MessageRow<CSpinBox>> MessageMap();

  private:
    friend class win::WindowImpl<CSpinBox>;  // the shared groups of rows
    void Report();
    void ShowValue();
    LRESULT OnPaint();
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnUp();
    LRESULT OnDown();
    LRESULT OnEditCommit();
    LRESULT OnEditEnter();
    LRESULT OnCtlColor(HDC dc, HWND control);

    StateImages images_;
    CSkinButton up_;
    CSkinButton down_;
    CBitmapEdit edit_;
    RECT rect_{0, 0, 0, 0};
    HWND parent_ = nullptr;
    UINT id_ = 0;
    int value_ = 0;
    int step_ = 1;
    int minimum_ = 0;
    int maximum_ = 10;
    RECT upRect_{0, 0, 0, 0};
    RECT downRect_{0, 0, 0, 0};
};

}  // namespace skin
