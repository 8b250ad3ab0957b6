#include "monitor/runtime/tilt_scroll.h"

#include <span>

#include "monitor/runtime/media_players.h"

namespace runtime {

namespace {

struct ClassMode {
    const char* className;
    TiltMode mode;
};

constexpr ClassMode kClassModes[] = {
    {"_WwG", {1, false}},         {"AVL_AVView", {1, false}},
    {"EXCEL7", {2, false}},       {"paneClassDC", {3, false}},
    {"VISIOG", {4, false}},       {"PSViewC", {4, false}},
    {"EditControl", {4, false}},  {"FrontPageEditorDocumentView", {5, false}},
    {"OGrid", {6, false}},        {"OFormSub", {6, false}},
    {"OPrtPrevPage", {6, false}}, {"MozillaWindowClass", {0, true}},
};

constexpr int kSpreadsheetMode = 2;
constexpr unsigned kArrowLeft = 37;
constexpr unsigned kArrowRight = 39;
constexpr std::uint32_t kLeftPress = 0x014B0001;
constexpr std::uint32_t kLeftRelease = 0xC14B0001;
constexpr std::uint32_t kRightPress = 0x014D0001;
constexpr std::uint32_t kRightRelease = 0xC14D0001;
constexpr int kMaxAncestors = 64;  // guards against a broken parent chain

bool IsScrollBarClass(const std::string& c) {
    return c == "ScrollBar" || c == "NUIScrollbar";
}

std::intptr_t KeyParam(std::uint32_t v) {
    return static_cast<std::intptr_t>(static_cast<std::int32_t>(v));
}

}  // namespace

TiltMode TiltModeForClass(const std::string& className) {
    for (const ClassMode& row : std::span(kClassModes)) {
        if (className == row.className)
            return row.mode;
    }
    return {};
}

bool TiltScroller::Eligible(WindowHandle w) {
    if (w == 0 || w == windows_.Desktop())
        return false;
    if (windows_.ClassName(w) != "SysListView32")
        return true;
    WindowHandle a = windows_.Parent(w);
    for (int i = 0; a != 0 && i < kMaxAncestors; ++i, a = windows_.Parent(a)) {
        if (windows_.ClassName(a) == "Progman")
            return false;
    }
    return true;
}

bool TiltScroller::PassesHorizontalTest(WindowHandle s, ScreenPoint p) {
    const std::string c = windows_.ClassName(s);
    if (c == "Internet Explorer_Server")
        return true;
    if (!IsScrollBarClass(c))
        return (windows_.Style(s) & kStyleHScroll) != 0;
    const ScreenRect r = windows_.WindowRect(s);
    return (r.right - r.left) > (r.bottom - r.top) && p.x < r.right;
}

WindowHandle TiltScroller::AvlScrollBar(WindowHandle t) {
    const WindowHandle child = windows_.FirstChild(t);
    if (child == 0 || windows_.ClassName(child) != "ScrollBar")
        return 0;
    const std::uint32_t style = windows_.Style(child);
    // SBS_VERT (bit 0) clear: horizontal; bit 3 clear as well.
    if ((style & 0x1u) == 0 && (style & 0x8u) == 0)
        return child;
    return 0;
}

WindowHandle TiltScroller::SiblingSearch(WindowHandle s, ScreenPoint p) {
    for (WindowHandle t = windows_.NextSibling(s); t != 0; t = windows_.NextSibling(t)) {
        const std::string c = windows_.ClassName(t);
        if (c == "AVL_AVScrollBar") {
            if (const WindowHandle h = AvlScrollBar(t))
                return h;
        }
        if (IsScrollBarClass(c) && PassesHorizontalTest(t, p))
            return t;
    }
    for (WindowHandle t = windows_.PreviousSibling(s); t != 0; t = windows_.PreviousSibling(t)) {
        const std::string c = windows_.ClassName(t);
        if (c == "AVL_AVScrollBar") {
            if (const WindowHandle h = AvlScrollBar(t))
                return h;
        }
        if (c == "ScrollBar" && PassesHorizontalTest(t, p))
            return t;
        if (c == "AfxWnd70" || c == "AfxWnd42") {
            if (const WindowHandle h = ChildSearch(t, p))
                return h;
        }
    }
    return 0;
}

WindowHandle TiltScroller::ChildSearch(WindowHandle s, ScreenPoint p) {
    const WindowHandle first = windows_.FirstChild(s);
    if (first == 0)
        return 0;
    if (PassesHorizontalTest(first, p))
        return first;
    return SiblingSearch(first, p);
}

WindowHandle TiltScroller::ProximitySearch(WindowHandle c, ScreenPoint p) {
    const ScreenRect r = windows_.WindowRect(c);
    for (const WindowHandle child : windows_.Descendants(windows_.Parent(c))) {
        if (!IsScrollBarClass(windows_.ClassName(child)))
            continue;
        if (!PassesHorizontalTest(child, p))
            continue;
        const ScreenRect cr = windows_.WindowRect(child);
        if (cr.left >= r.left - kProximityPx && r.right + kProximityPx >= cr.right)
            return child;
    }
    return 0;
}

WindowHandle TiltScroller::FindHorizontalBar(WindowHandle w, ScreenPoint p, WindowHandle& c) {
    c = windows_.ChildFromPoint(w, p);
    if (c == 0)
        c = w;
    const std::string cls = windows_.ClassName(c);
    WindowHandle candidate = 0;
    if (cls == "MozillaWindowClass") {
        candidate = windows_.Parent(c);
    } else if (PassesHorizontalTest(c, p)) {
        candidate = c;
    }
    if (cls == "ScrollBar")
        return candidate;
    WindowHandle h = candidate;
    if (h == 0)
        h = ChildSearch(c, p);
    if (h == 0)
        h = SiblingSearch(c, p);
    if (h != 0)
        return h;
    if (cls != "paneClassDC" && cls != "VISIOG")
        return 0;
    return ProximitySearch(c, p);
}

void TiltScroller::ScrollNotch(bool right, int steps) {
    if (steps <= 0)
        return;
    const ScreenPoint p = windows_.CursorPos();
    const WindowHandle w = windows_.WindowFromPoint(p);
    if (!Eligible(w))
        return;
    const TiltMode mode = TiltModeForClass(windows_.ClassName(w));
    WindowHandle c = 0;
    const WindowHandle h = FindHorizontalBar(w, p, c);
    if (h == 0)
        return;

    if (mode.mode == kSpreadsheetMode) {
        const ScreenRect r = windows_.WindowRect(h);
        const int x = right ? r.right - kSpreadsheetInsetPx : r.left + kSpreadsheetInsetPx;
        const ScreenPoint target{x, r.top + kSpreadsheetInsetPx};
        const MouseButtonFlags& primary =
            windows_.ButtonsSwapped() ? mouse_button::kRight : mouse_button::kLeft;
        windows_.SetCursorPos(target);
        for (int i = 0; i < steps; ++i) {
            input_.MouseButton(primary.down, 0);
            input_.MouseButton(primary.up, 0);
        }
        windows_.SetCursorPos(p);
        return;
    }
    for (int i = 0; i < steps; ++i) {
        if (mode.mode != 0) {
            windows_.Post(windows_.Parent(h), kWmHScroll, right ? 1 : 0,
                          static_cast<std::intptr_t>(h));
        } else if (mode.keyPress) {
            const unsigned key = right ? kArrowRight : kArrowLeft;
            windows_.Post(h, kWmKeyDown, key, KeyParam(right ? kRightPress : kLeftPress));
            windows_.Post(h, kWmKeyUp, key, KeyParam(right ? kRightRelease : kLeftRelease));
        } else {
            windows_.Post(w, kWmHScroll, right ? 1 : 0, 0);
        }
    }
}

}  // namespace runtime
