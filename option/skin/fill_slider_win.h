// A fill bar: the full picture up to the position over the empty one.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "option/skin/keyboard_control_win.h"
#include "option/skin/skin_messages.h"

namespace skin {

class CFillSlider : public KeyboardControl<CFillSlider> {
  public:
    CFillSlider() = default;
    ~CFillSlider() override;

    // Style child, visible and tab stop; range 0..10, position 0, enabled.
    bool Create(const RECT& r, HWND parent, UINT id);
    void SetImages(const RECT& r, HBITMAP emptySheet, HBITMAP fullSheet);
    void SetRange(int minimum, int maximum);
    void SetPos(int value);
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    void SetHint(const std::string& text) { hint_ = text; }
    int Pos() const { return position_; }

    static std::span<const win::MessageRow<CFillSlider>> MessageMap();

  private:
    friend class win::WindowImpl<CFillSlider>;  // the shared groups of rows
    void Follow(POINT at);
    LRESULT OnPaint();
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnLButtonDown();
    LRESULT OnMouseMove(UINT keys, POINT at);
    LRESULT OnLButtonUp(UINT keys, POINT at);
    LRESULT OnCaptureChanged();
    LRESULT OnKillFocus();
    LRESULT OnKeyDown(UINT key, UINT data);
    LRESULT OnGetObject(WPARAM flags, LONG objectId);

    UINT id_ = 0;
    win::ScopedGdi<HBITMAP> empty_;
    win::ScopedGdi<HBITMAP> full_;
    bool dragging_ = false;
    RECT rect_{0, 0, 0, 0};
    HWND parent_ = nullptr;
    int minimum_ = 0;
    int maximum_ = 10;
    int position_ = 0;
    bool enabled_ = true;
    std::string hint_;
};

}  // namespace skin
