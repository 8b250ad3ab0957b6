// The notice on the screen: a topmost, layered popup that the pointer clicks
// through and that never takes the focus or activation, drawn in the colours
// of the skins, shown on the monitor that holds the pointer and faded out
// after its hold time. A new notice takes the place of the one on the screen
// at once. While nothing is shown no timer runs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "osd/display_options.h"
#include "osd/notice_text.h"

namespace osd {

// The notice window's class; its window text is the Summary() of what it
// shows, or empty once the notice has faded.
inline constexpr const char* kNoticeClass = "VantorOSDNotice";

class NoticeWindow : public win::WindowImpl<NoticeWindow> {
  public:
    bool CreatePopup();
    void Show(const Notice& notice, const DisplayOptions& options);

    static std::span<const win::MessageRow<NoticeWindow>> MessageMap();
    void OnPaint();
    LRESULT OnEraseBkgnd(HDC dc);
    LRESULT OnNcHitTest(POINT at);
    void OnTimer(UINT_PTR id);

  private:
    struct Fonts {
        win::ScopedGdi<HFONT> caption;
        win::ScopedGdi<HFONT> body;
        win::ScopedGdi<HFONT> badge;
    };
    void MakeFonts();
    SIZE Measure() const;
    void Draw(HDC dc, int width, int height) const;
    void ApplyShape(int width, int height);
    void Hide();

    Fonts fonts_;
    Notice notice_;
    int holdMs_ = kDefaultHoldMs;
    std::uint64_t shownAt_ = 0;
    bool showing_ = false;
    int scale_ = 100;  // percent of the display the notice is shown on
};

}  // namespace osd
