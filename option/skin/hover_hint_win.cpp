#include "option/skin/hover_hint_win.h"

#include "option/skin/control_math.h"
#include "option/skin/skin_hint_win.h"

namespace skin {

void PublishHintIfNew(HWND control, const std::string& hint) {
    if (!SameHint(hint))
        PublishHint(control, hint, 1);
}

void HoverHint::Moved(HWND control, const std::string& hint) {
    if (!tracking_) {
        TRACKMOUSEEVENT tme{};
        tme.cbSize = sizeof tme;
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = control;
        tme.dwHoverTime = 1;
        tracking_ = TrackMouseEvent(&tme) != FALSE;
    }
    PublishHintIfNew(control, hint);
}

}  // namespace skin
