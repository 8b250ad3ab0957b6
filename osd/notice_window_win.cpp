#include "osd/notice_window_win.h"

#include <algorithm>
#include <array>

#include "common/win/dpi_win.h"
#include "common/win/scoped_win.h"
#include "common/win/wide_text_win.h"
#include "osd/fade_schedule.h"
#include "osd/placement.h"

namespace osd {

namespace {

constexpr UINT_PTR kFadeTimer = 1;

// The skins' palette.
constexpr COLORREF kFillTop = RGB(30, 34, 39);
constexpr COLORREF kFillBottom = RGB(11, 12, 14);
constexpr COLORREF kOutline = RGB(64, 71, 80);
constexpr COLORREF kText = RGB(255, 255, 255);
constexpr COLORREF kTextDim = RGB(132, 138, 147);
constexpr COLORREF kAccent = RGB(6, 107, 149);
constexpr COLORREF kAccentDark = RGB(4, 58, 82);
constexpr COLORREF kAccentBright = RGB(68, 191, 255);

// Layout, in pixels.
constexpr int kHeight = 84;
constexpr int kMinWidth = 260;
constexpr int kMaxWidth = 640;
constexpr int kChamfer = 12;
constexpr int kPadLeft = 22;
constexpr int kPadRight = 26;
constexpr int kBadgeSize = 52;
constexpr int kBadgeGap = 16;
constexpr int kCaptionTop = 17;
constexpr int kBodyTop = 35;
constexpr int kCaptionSpacing = 2;

int CALLBACK NoteFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

const char* FaceName() {
    // The skins are drawn in DejaVu Sans; Windows has Segoe UI instead.
    static const char* face = [] {
        for (const char* candidate : {"Segoe UI", "DejaVu Sans", "Tahoma"}) {
            LOGFONTA wanted{};
            wanted.lfCharSet = DEFAULT_CHARSET;
            lstrcpynA(wanted.lfFaceName, candidate, LF_FACESIZE);
            bool found = false;
            win::ScopedWindowDc screen(nullptr);
            EnumFontFamiliesExA(screen.Get(), &wanted, NoteFound, reinterpret_cast<LPARAM>(&found),
                                0);
            if (found)
                return candidate;
        }
        return "Arial";
    }();
    return face;
}

HFONT MakeFont(int height, int weight) {
    return CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, FaceName());
}

SIZE TextSize(HDC dc, HFONT font, const std::string& text, int spacing = 0) {
    win::ScopedSelect keep(dc, font);
    SetTextCharacterExtra(dc, spacing);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SetTextCharacterExtra(dc, 0);
    return size;
}

// Polygon of a rectangle with its top-left and bottom-right corners cut.
std::array<POINT, 6> ChamferedOutline(int width, int height, int cut) {
    return {{{0, cut},
             {cut, 0},
             {width - 1, 0},
             {width - 1, height - 1 - cut},
             {width - 1 - cut, height - 1},
             {0, height - 1}}};
}

COLORREF Mix(COLORREF a, COLORREF b, int numerator, int denominator) {
    auto channel = [&](int shift) {
        const int ca = (a >> shift) & 0xFF;
        const int cb = (b >> shift) & 0xFF;
        return static_cast<COLORREF>(ca + (cb - ca) * numerator / denominator) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

// A line one layout pixel wide through the layout pixels `points`. Drawn
// scaled, a one-pixel pen would stay one screen pixel thin: the line is then
// as wide as a layout pixel on the screen, moved by half of it so that it
// covers the screen pixels of its layout pixels rather than straddling them.
void Line(HDC dc, COLORREF colour, std::initializer_list<POINT> points) {
    XFORM layout{};
    const bool scaled = GetWorldTransform(dc, &layout) != FALSE && layout.eM11 != 1.0f;
    win::ScopedGdi<HPEN> pen;
    if (scaled) {
        XFORM centred = layout;
        centred.eDx += (layout.eM11 - 1.0f) / 2.0f;
        centred.eDy += (layout.eM22 - 1.0f) / 2.0f;
        SetWorldTransform(dc, &centred);
        const LOGBRUSH brush{BS_SOLID, colour, 0};
        pen.Reset(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE | PS_JOIN_MITER, 1,
                               &brush, 0, nullptr));
    } else {
        pen.Reset(CreatePen(PS_SOLID, 1, colour));
    }
    {
        win::ScopedSelect keep(dc, pen.Get());
        const POINT* p = points.begin();
        MoveToEx(dc, p->x, p->y, nullptr);
        for (++p; p != points.end(); ++p) LineTo(dc, p->x, p->y);
    }
    if (scaled)
        SetWorldTransform(dc, &layout);
}

void Text(HDC dc, HFONT font, COLORREF colour, RECT box, const std::string& text, UINT format,
          int spacing = 0) {
    win::ScopedSelect keep(dc, font);
    SetTextColor(dc, colour);
    SetTextCharacterExtra(dc, spacing);
    win::DrawTextUtf8(dc, text, &box, format | DT_SINGLELINE | DT_NOPREFIX);
    SetTextCharacterExtra(dc, 0);
}

}  // namespace

std::span<const win::MessageRow<NoticeWindow>> NoticeWindow::MessageMap() {
    static constexpr win::MessageRow<NoticeWindow> own[] = {
        win::OnMessage<WM_NCHITTEST, &NoticeWindow::OnNcHitTest>(),
        win::OnMessage<WM_TIMER, &NoticeWindow::OnTimer>(),
    };
    static constexpr auto rows = win::Checked(win::JoinRows(PaintedRows(), std::to_array(own)));
    return rows;
}

bool NoticeWindow::CreatePopup() {
    win::WindowSpec spec;
    spec.className = kNoticeClass;
    spec.title = "";
    spec.style = WS_POPUP;
    spec.exStyle =
        WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
    spec.x = 0;
    spec.y = 0;
    spec.width = kMinWidth;
    spec.height = kHeight;
    spec.cursor = LoadCursor(nullptr, IDC_ARROW);
    if (!Create(spec))
        return false;
    MakeFonts();
    return true;
}

void NoticeWindow::MakeFonts() {
    fonts_.caption.Reset(MakeFont(12, FW_BOLD));
    fonts_.body.Reset(MakeFont(24, FW_BOLD));
    fonts_.badge.Reset(MakeFont(30, FW_BOLD));
}

SIZE NoticeWindow::Measure() const {
    win::ScopedDc dc(CreateCompatibleDC(nullptr));
    const SIZE caption = TextSize(dc.Get(), fonts_.caption.Get(), notice_.caption, kCaptionSpacing);
    const SIZE body = TextSize(dc.Get(), fonts_.body.Get(), notice_.body);
    const int textLeft = kPadLeft + (notice_.badge.empty() ? 0 : kBadgeSize + kBadgeGap);
    const int width = textLeft + std::max(caption.cx, body.cx) + kPadRight;
    return SIZE{std::clamp(width, kMinWidth, kMaxWidth), kHeight};
}

void NoticeWindow::Show(const Notice& notice, const DisplayOptions& options) {
    notice_ = notice;
    holdMs_ = options.holdMs;

    POINT pointer{};
    GetCursorPos(&pointer);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    // Laid out in 100 % pixels and drawn at the display's scale.
    scale_ = win::ScalePercent(win::DpiForWindow(Hwnd()));
    const SIZE logical = Measure();
    const SIZE size{MulDiv(logical.cx, scale_, 100), MulDiv(logical.cy, scale_, 100)};
    const ScreenRect at =
        PlaceNotice(ScreenRect{work.left, work.top, work.right, work.bottom}, size.cx, size.cy,
                    options.placement, MulDiv(kEdgeMargin, scale_, 100));

    ApplyShape(at.Width(), at.Height());
    SetLayeredWindowAttributes(Hwnd(), 0, kOpaque, LWA_ALPHA);
    SetWindowPos(Hwnd(), HWND_TOPMOST, at.left, at.top, at.Width(), at.Height(),
                 SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    ShowWindow(Hwnd(), SW_SHOWNOACTIVATE);
    InvalidateRect(Hwnd(), nullptr, FALSE);
    UpdateWindow(Hwnd());
    // Named once it is drawn: whoever reads the text finds it on the screen.
    win::SetWindowTextUtf8(Hwnd(), Summary(notice_));

    showing_ = true;
    shownAt_ = GetTickCount64();
    SetTimer(Hwnd(), kFadeTimer, static_cast<UINT>(FadeAt(0, holdMs_).nextTickMs), nullptr);
}

void NoticeWindow::OnTimer(UINT_PTR id) {
    if (id != kFadeTimer)
        return;
    if (!showing_) {
        KillTimer(Hwnd(), kFadeTimer);
        return;
    }
    const FadeFrame frame = FadeAt(static_cast<std::int64_t>(GetTickCount64() - shownAt_), holdMs_);
    if (frame.finished) {
        Hide();
        return;
    }
    SetLayeredWindowAttributes(Hwnd(), 0, frame.alpha, LWA_ALPHA);
    SetTimer(Hwnd(), kFadeTimer, static_cast<UINT>(frame.nextTickMs), nullptr);
}

void NoticeWindow::Hide() {
    KillTimer(Hwnd(), kFadeTimer);
    showing_ = false;
    ShowWindow(Hwnd(), SW_HIDE);
    SetWindowTextA(Hwnd(), "");
}

void NoticeWindow::ApplyShape(int width, int height) {
    auto outline = ChamferedOutline(width + 1, height + 1, MulDiv(kChamfer, scale_, 100));
    win::GiveWindowRegion(Hwnd(),
                          win::ScopedGdi<HRGN>(CreatePolygonRgn(
                              outline.data(), static_cast<int>(outline.size()), WINDING)),
                          false);
}

LRESULT NoticeWindow::OnEraseBkgnd(HDC) {
    return 1;
}

LRESULT NoticeWindow::OnNcHitTest(POINT) {
    return HTTRANSPARENT;
}

void NoticeWindow::OnPaint() {
    const win::ScopedPaint paint(Hwnd());
    const HDC dc = paint.Get();
    RECT client;
    GetClientRect(Hwnd(), &client);
    const int width = client.right;
    const int height = client.bottom;
    win::ScopedDc memory(CreateCompatibleDC(dc));
    win::ScopedGdi<HBITMAP> canvas(CreateCompatibleBitmap(dc, std::max(width, 1), height));
    {
        win::ScopedSelect keep(memory.Get(), canvas.Get());
        // The layout is in 100 % pixels; the world transform draws it at the
        // display's scale, text included (outline fonts stay sharp).
        SetGraphicsMode(memory.Get(), GM_ADVANCED);
        const float factor = static_cast<float>(scale_) / 100.0f;
        const XFORM scale{factor, 0.0f, 0.0f, factor, 0.0f, 0.0f};
        SetWorldTransform(memory.Get(), &scale);
        Draw(memory.Get(), MulDiv(width, 100, scale_), MulDiv(height, 100, scale_));
        ModifyWorldTransform(memory.Get(), nullptr, MWT_IDENTITY);
        BitBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
    }
}

void NoticeWindow::Draw(HDC dc, int width, int height) const {
    // Body: the skins' dark vertical gradient.
    for (int y = 0; y < height; ++y) {
        win::ScopedGdi<HBRUSH> brush(CreateSolidBrush(Mix(kFillTop, kFillBottom, y, height)));
        RECT row{0, y, width, y + 1};
        FillRect(dc, &row, brush.Get());
    }
    // Frame with the cut corners, the bright tick at the top left and the
    // accent along the bottom right, as on the skins' panels.
    const auto outline = ChamferedOutline(width, height, kChamfer);
    Line(dc, kOutline,
         {outline[0], outline[1], outline[2], outline[3], outline[4], outline[5], outline[0]});
    Line(dc, kAccentBright, {{1, kChamfer}, {kChamfer + 1, 0}, {kChamfer + 48, 0}});
    Line(dc, kAccentBright, {{2, kChamfer}, {kChamfer + 2, 0}});
    Line(dc, kAccent, {{width - kChamfer - 2, height - 1}, {width - kChamfer - 60, height - 1}});
    Line(dc, kAccent, {{width - 1, height - kChamfer - 2}, {width - kChamfer - 2, height - 1}});

    SetBkMode(dc, TRANSPARENT);
    int textLeft = kPadLeft;
    if (!notice_.badge.empty()) {
        // The number in a small chamfered plate of the accent colour.
        const int top = (height - kBadgeSize) / 2;
        const int left = kPadLeft;
        std::array<POINT, 6> plate = ChamferedOutline(kBadgeSize, kBadgeSize, 8);
        for (POINT& p : plate) {
            p.x += left;
            p.y += top;
        }
        win::ScopedGdi<HBRUSH> fill(CreateSolidBrush(kAccentDark));
        {
            win::ScopedSelect keepBrush(dc, fill.Get());
            win::ScopedSelect keepPen(dc, GetStockObject(NULL_PEN));
            Polygon(dc, plate.data(), static_cast<int>(plate.size()));
        }
        // The outline as wide as a layout pixel, like the frame's.
        Line(dc, kAccent, {plate[0], plate[1], plate[2], plate[3], plate[4], plate[5], plate[0]});
        Text(dc, fonts_.badge.Get(), kAccentBright,
             RECT{left, top, left + kBadgeSize, top + kBadgeSize}, notice_.badge,
             DT_CENTER | DT_VCENTER);
        textLeft += kBadgeSize + kBadgeGap;
    }
    Text(dc, fonts_.caption.Get(), kTextDim, RECT{textLeft, kCaptionTop, width - 8, kBodyTop},
         notice_.caption, DT_LEFT | DT_TOP, kCaptionSpacing);
    Text(dc, fonts_.body.Get(), kText, RECT{textLeft, kBodyTop, width - kPadRight, height - 10},
         notice_.body, DT_LEFT | DT_TOP | DT_END_ELLIPSIS);
}

}  // namespace osd
