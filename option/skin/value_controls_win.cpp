#include "option/skin/value_controls_win.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "common/win/scoped_win.h"
#include "option/skin/arial_font_win.h"
#include "option/skin/bitmap_facts_win.h"
#include "option/skin/child_window_win.h"
#include "option/skin/control_math.h"
#include "option/skin/focus_mark_win.h"
#include "option/skin/offscreen_canvas_win.h"
#include "option/skin/scaled_resource_win.h"
#include "option/skin/skin_loader_win.h"

namespace skin {
namespace {

constexpr win::RegisteredMessage kEditKillFocus(kEditKillFocusName);

std::string Decimal(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return text;
}

}  // namespace

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    std::vector<char> buffer(static_cast<std::size_t>(length) + 2, '\0');
    GetWindowTextA(hwnd, buffer.data(), length + 1);
    return buffer.data();
}

// ---- CBitmapEdit ---------------------------------------------------------------

std::span<const win::MessageRow<CBitmapEdit>> CBitmapEdit::MessageMap() {
    static constexpr win::MessageRow<CBitmapEdit> rows[] = {
        win::OnMessage<WM_KEYDOWN, &CBitmapEdit::OnKeyDown>(),
        win::OnMessage<WM_CHAR, &CBitmapEdit::OnChar>(),
        win::OnMessage<WM_KEYUP, &CBitmapEdit::OnKeyUp>(),
        win::OnMessage<WM_SETTEXT, &CBitmapEdit::OnTextInput>(),
        win::OnMessage<WM_PASTE, &CBitmapEdit::OnTextInput>(),
        win::OnMessage<WM_CUT, &CBitmapEdit::OnTextInput>(),
        win::OnMessage<WM_CLEAR, &CBitmapEdit::OnTextInput>(),
        win::OnMessage<WM_UNDO, &CBitmapEdit::OnTextInput>(),
        win::OnMessage<EM_UNDO, &CBitmapEdit::OnTextInput>(),
        win::OnMessage<EM_REPLACESEL, &CBitmapEdit::OnTextInput>(),
        win::OnMessage<WM_KILLFOCUS, &CBitmapEdit::OnKillFocus>(),
        win::OnMessage<WM_VSCROLL, &CBitmapEdit::OnVScroll>(),
        win::OnMessage<WM_ERASEBKGND, &CBitmapEdit::OnEraseBkgnd>(),
        win::OnMessage<WM_MOUSEMOVE, &CBitmapEdit::OnMouseMove>(),
        win::OnMessage<WM_MOUSELEAVE, &CBitmapEdit::OnMouseLeave>(),
        win::OnMessage<WM_DESTROY, &CBitmapEdit::OnDestroy>(),
    };
    static_assert(win::NoRowShadowed(rows), "a row of this table is shadowed by an earlier one");
    return rows;
}

CBitmapEdit::~CBitmapEdit() {
    DestroyWindowNow();
}

bool CBitmapEdit::Create(DWORD style, const RECT& r, HWND parent, UINT id) {
    return CreateAttached("EDIT", style, r, parent, id, [this](HWND edit) { return Attach(edit); });
}

bool CBitmapEdit::Attach(HWND edit) {
    if (!Subclass(edit))
        return false;
    RegisterSkinMessages();
    // Made for each field made: one made again from another scale's set
    // takes that scale's size.
    font_.Reset(CreateFontA(SkinPixels(fontHeight_), SkinPixels(fontWidth_), 0, 0, FW_NORMAL, FALSE,
                            FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial"));
    lastText_ = WindowText(edit);
    return true;
}

void CBitmapEdit::SetColors(COLORREF text, COLORREF background) {
    textColor_ = text;
    backColor_ = background;
    if (Hwnd() != nullptr)
        InvalidateRect(Hwnd(), nullptr, TRUE);
}

void CBitmapEdit::ApplyFont() {
    if (Hwnd() != nullptr && font_)
        SendMessageA(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
}

std::string CBitmapEdit::Text() const {
    return Hwnd() != nullptr ? WindowText(Hwnd()) : "";
}

void CBitmapEdit::SetText(const std::string& text) {
    if (Hwnd() != nullptr)
        SetWindowTextA(Hwnd(), text.c_str());
}

HBRUSH CBitmapEdit::CtlColor(HDC dc) {
    brush_.Reset(CreateSolidBrush(backColor_));
    SetTextColor(dc, textColor_);
    SetBkColor(dc, backColor_);
    return brush_.Get();
}

bool CBitmapEdit::ReflectCtlColor(HDC dc, HWND control, LRESULT& brush) {
    auto* edit = dynamic_cast<CBitmapEdit*>(win::Window::FromHandle(control));
    if (edit == nullptr)
        return false;
    brush = reinterpret_cast<LRESULT>(edit->CtlColor(dc));
    return true;
}

LRESULT CBitmapEdit::OnKeyDown(UINT key, UINT) {
    if (numeric_ && !NumericKeyAllowed(key))
        return 0;
    const LRESULT result = CallDefault();
    if (key == VK_DELETE)
        AfterChange();
    return result;
}

LRESULT CBitmapEdit::OnChar(UINT ch, UINT) {
    // The characters a swallowed key would have produced are swallowed too;
    // what the allowed keys type is cut by the filter after the change.
    if (numeric_ && ch >= 32) {
        const char c = static_cast<char>(ch);
        if (std::string_view("0123456789+-=_").find(c) == std::string_view::npos)
            return 0;
    }
    const LRESULT result = CallDefault();
    AfterChange();
    return result;
}

LRESULT CBitmapEdit::OnKeyUp(UINT key, UINT) {
    if (key == VK_RETURN)
        PostMessageA(GetParent(Hwnd()), kMsgEditEnter, 13, 0);
    return CallDefault();
}

LRESULT CBitmapEdit::OnTextInput() {
    const LRESULT result = CallDefault();
    AfterChange();
    return result;
}

void CBitmapEdit::AfterChange() {
    if (filtering_)
        return;
    std::string text = WindowText(Hwnd());
    if (text == lastText_)
        return;
    if (numeric_) {
        const std::string kept = NumericPrefix(text, signAllowed_);
        if (kept != text) {
            filtering_ = true;
            SendMessageA(Hwnd(), EM_SETSEL, 0, -1);
            SendMessageA(Hwnd(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(kept.c_str()));
            filtering_ = false;
            text = kept;
        }
    }
    lastText_ = text;
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PostMessageA(GetParent(Hwnd()), EditKillFocusMessage(), 0, 0);
}

LRESULT CBitmapEdit::OnKillFocus() {
    const LRESULT result = CallDefault();
    PostMessageA(GetParent(Hwnd()), EditKillFocusMessage(), 0, 0);
    return result;
}

LRESULT CBitmapEdit::OnVScroll() {
    InvalidateRect(Hwnd(), nullptr, FALSE);
    return CallDefault();
}

LRESULT CBitmapEdit::OnMouseMove() {
    hover_.Moved(Hwnd(), hint_);
    return CallDefault();
}

LRESULT CBitmapEdit::OnMouseLeave() {
    hover_.Left();
    return CallDefault();
}

LRESULT CBitmapEdit::OnDestroy() {
    const LRESULT result = CallDefault();
    brush_.Reset();
    return result;
}

// ---- CSpinBox -----------------------------------------------------------------

std::span<const win::MessageRow<CSpinBox>> CSpinBox::MessageMap() {
    static constexpr win::MessageRow<CSpinBox> rows[] = {
        win::OnMessage<WM_PAINT, &CSpinBox::OnPaint>(),
        win::OnMessage<WM_ERASEBKGND, &CSpinBox::OnEraseBkgnd>(),
        win::OnControl<&CSpinBox::OnUp>(BN_CLICKED, kUpId),
        win::OnControl<&CSpinBox::OnDown>(BN_CLICKED, kDownId),
        win::OnRegistered<&CSpinBox::OnEditCommit>(kEditKillFocus),
        win::OnMessage<kMsgEditEnter, &CSpinBox::OnEditEnter>(),
        win::OnMessage<WM_CTLCOLOREDIT, &CSpinBox::OnCtlColor>(),
        win::OnMessage<WM_CTLCOLORSTATIC, &CSpinBox::OnCtlColor>(),
        win::OnMessage<WM_MOUSEMOVE, &CSpinBox::OnMouseMove>(),
        win::OnMessage<WM_MOUSELEAVE, &CSpinBox::OnMouseLeave>(),
    };
    static_assert(win::NoRowShadowed(rows), "a row of this table is shadowed by an earlier one");
    return rows;
}

CSpinBox::~CSpinBox() = default;

bool CSpinBox::Create(const RECT& r, HWND parent, UINT id) {
    rect_ = r;
    parent_ = parent;
    id_ = id;
    if (!CreateChild(*this, "SkinSpinBox", WS_CHILD | WS_VISIBLE, r, parent, id))
        return false;
    const int w = r.right - r.left;
    const auto px = SkinPixels;
    upRect_ = RECT{w - px(20), px(2), w - px(2), px(9)};
    downRect_ = RECT{w - px(20), px(11), w - px(2), px(18)};
    if (!up_.Create(Hwnd(), upRect_, kUpId) || !down_.Create(Hwnd(), downRect_, kDownId)) {
        return false;
    }
    up_.SetHint("");
    down_.SetHint("");
    const RECT editRect{px(2), px(2), w - px(20), px(16)};
    if (!edit_.Create(WS_VISIBLE | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL, editRect, Hwnd(),
                      kSpinEditId)) {
        return false;
    }
    edit_.SetColors(RGB(255, 255, 255), RGB(0, 0, 0));
    edit_.SetNumeric(true);
    edit_.ApplyFont();
    SetRange(minimum_, maximum_);
    ShowValue();
    return true;
}

void CSpinBox::SetBitmaps(const RECT& r, HBITMAP normal, HBITMAP over, HBITMAP down,
                          HBITMAP disabled) {
    images_.Cut(Hwnd(), r, normal, over, down, disabled);
    up_.SetBitmaps(upRect_, images_[0], images_[1], images_[2], images_[3]);
    down_.SetBitmaps(downRect_, images_[0], images_[1], images_[2], images_[3]);
    if (Hwnd() != nullptr)
        InvalidateRect(Hwnd(), nullptr, FALSE);
}

void CSpinBox::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    if (edit_.Hwnd() != nullptr) {
        SendMessageA(edit_.Hwnd(), EM_LIMITTEXT,
                     static_cast<WPARAM>(SpinTextLimit(minimum, maximum)), 0);
    }
    edit_.SetSignAllowed(minimum < 0);
}

void CSpinBox::SetValue(int value) {
    value_ = value;
    ShowValue();
}

void CSpinBox::ShowValue() {
    if (edit_.Hwnd() == nullptr)
        return;
    const std::string text = Decimal(value_);
    if (edit_.Text() == text)
        return;
    SendMessageA(edit_.Hwnd(), EM_SETSEL, 0, -1);
    SendMessageA(edit_.Hwnd(), EM_SCROLLCARET, 0, 0);
    SendMessageA(edit_.Hwnd(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void CSpinBox::SetHint(const std::string& text) {
    hint_ = text;
    edit_.SetHint(text);
}

void CSpinBox::Report() {
    PostMessageA(parent_, kMsgSpinValue, static_cast<WPARAM>(value_), static_cast<LPARAM>(id_));
}

LRESULT CSpinBox::OnPaint() {
    const win::ScopedPaint paint(Hwnd());
    const HDC dc = paint.Get();
    BlitImage(dc, images_[0], rect_.right - rect_.left, rect_.bottom - rect_.top);
    return 0;
}

LRESULT CSpinBox::OnUp() {
    const SpinResult r = SpinUp(ReadDecimal(edit_.Text()), step_, minimum_, maximum_);
    if (r.changed)
        SetValue(r.value);
    return 0;
}

LRESULT CSpinBox::OnDown() {
    const SpinResult r = SpinDown(ReadDecimal(edit_.Text()), step_, minimum_, maximum_);
    if (r.changed)
        SetValue(r.value);
    return 0;
}

LRESULT CSpinBox::OnEditCommit() {
    const SpinCommit c = SpinCommitText(edit_.Text(), step_, minimum_, maximum_);
    value_ = c.value;
    if (c.rewriteText)
        edit_.SetText(Decimal(c.value));
    Report();
    return 0;
}

LRESULT CSpinBox::OnEditEnter() {
    const SpinCommit c = SpinEnterText(edit_.Text(), value_, minimum_, maximum_);
    if (c.rewriteText)
        edit_.SetText(Decimal(c.value));
    value_ = c.value;
    Report();
    return 0;
}

LRESULT CSpinBox::OnCtlColor(HDC dc, HWND control) {
    LRESULT brush = 0;
    if (CBitmapEdit::ReflectCtlColor(dc, control, brush))
        return brush;
    return CallDefault();
}

LRESULT CSpinBox::OnMouseMove() {
    hover_.Moved(Hwnd(), hint_);
    return CallDefault();
}

LRESULT CSpinBox::OnMouseLeave() {
    hover_.Left();
    return 0;
}

// ---- CSkinLabel ---------------------------------------------------------------

std::span<const win::MessageRow<CSkinLabel>> CSkinLabel::MessageMap() {
    static constexpr win::MessageRow<CSkinLabel> rows[] = {
        win::OnMessage<WM_PAINT, &CSkinLabel::OnPaint>(),
        win::OnMessage<WM_ERASEBKGND, &CSkinLabel::OnEraseBkgnd>(),
        win::OnMessage<WM_NCPAINT, &CSkinLabel::OnNcPaint>(),
        win::OnMessage<WM_MOUSEMOVE, &CSkinLabel::OnMouseMove>(),
        win::OnMessage<WM_MOUSELEAVE, &CSkinLabel::OnMouseLeave>(),
        win::OnMessage<kMsgPaintInto, &CSkinLabel::OnPaintInto>(),
    };
    static_assert(win::NoRowShadowed(rows), "a row of this table is shadowed by an earlier one");
    return rows;
}

bool CSkinLabel::Create(const RECT& r, HWND parent, UINT id) {
    return CreateChild(*this, "SkinLabel", WS_CHILD | WS_VISIBLE, r, parent, id);
}

void CSkinLabel::SetText(const std::string& text) {
    text_ = text;
    if (Hwnd() != nullptr)
        InvalidateRect(Hwnd(), nullptr, FALSE);
}

void CSkinLabel::SetBackColor(COLORREF color) {
    back_ = color;
    if (Hwnd() != nullptr)
        InvalidateRect(Hwnd(), nullptr, FALSE);
}

void CSkinLabel::SetBold(bool bold) {
    bold_ = bold;
    if (Hwnd() != nullptr)
        InvalidateRect(Hwnd(), nullptr, FALSE);
}

LRESULT CSkinLabel::OnPaint() {
    const win::ScopedPaint paint(Hwnd());
    PaintInto(paint.Get());
    return 0;
}

LRESULT CSkinLabel::OnPaintInto(win::WParam<HDC> dc) {
    PaintInto(dc.value);
    return 1;
}

void CSkinLabel::PaintInto(HDC dc) {
    RECT client;
    GetClientRect(Hwnd(), &client);
    const int w = std::max<int>(client.right, 1);
    const int h = std::max<int>(client.bottom, 1);
    {
        const OffscreenCanvas canvas(dc, w, h);
        HDC memory = canvas.Dc();
        const win::ScopedGdi<HBRUSH> brush(CreateSolidBrush(back_));
        FillRect(memory, &client, brush.Get());
        const win::ScopedSelect keepFont(
            memory,
            bold_ ? ArialFont(SkinPixels(16), SkinPixels(8), FW_BOLD) : ArialFont(SkinPixels(14)));
        SetBkMode(memory, TRANSPARENT);
        SetTextColor(memory, RGB(2, 2, 2));
        RECT textRect = client;
        DrawTextA(memory, text_.c_str(), static_cast<int>(text_.size()), &textRect,
                  DT_SINGLELINE | DT_VCENTER | (bold_ ? DT_LEFT : DT_CENTER));
        canvas.CopyTo(dc);
    }
}

LRESULT CSkinLabel::OnMouseMove() {
    if (hintEnabled_)
        hover_.Moved(Hwnd(), hint_);
    return CallDefault();
}

LRESULT CSkinLabel::OnMouseLeave() {
    hover_.Left();
    return 0;
}

// ---- CColorPicker -------------------------------------------------------------

std::span<const win::MessageRow<CColorPicker>> CColorPicker::MessageMap() {
    static constexpr win::MessageRow<CColorPicker> mouse[] = {
        win::OnMessage<WM_LBUTTONDOWN, &CColorPicker::OnLButtonDown>(),
        win::OnMessage<WM_LBUTTONUP, &CColorPicker::OnLButtonUp>(),
        win::OnMessage<WM_MOUSEMOVE, &CColorPicker::OnMouseMove>(),
        win::OnMessage<WM_MOUSELEAVE, &CColorPicker::OnMouseLeave>(),
    };
    static constexpr auto rows = win::JoinRows(std::to_array(mouse), SpectrumRows());
    static_assert(win::NoRowShadowed(rows), "a row of this table is shadowed by an earlier one");
    return rows;
}

CColorPicker::~CColorPicker() = default;

int CColorPicker::Create(UINT stripResource, HWND parent, const RECT& r, UINT id,
                         UINT markerResource) {
    // The strip and marker are drawn for each scale; the picker paints the
    // one for its set and reads the picked colour from that same picture, so
    // the colour taken is the one under the pointer.
    strip_.Reset(
        static_cast<HBITMAP>(LoadScaledImage(stripResource, SkinScale(), IMAGE_BITMAP, 0)));
    markerPicture_.Reset(
        static_cast<HBITMAP>(LoadScaledImage(markerResource, SkinScale(), IMAGE_BITMAP, 0)));
    if (!strip_ || !markerPicture_)
        return 0;
    return CreateChild(*this, "SkinColorPicker", WS_CHILD | WS_VISIBLE, r, parent, id) ? 1 : 0;
}

LRESULT CColorPicker::OnPaint() {
    const win::ScopedPaint paint(Hwnd());
    const HDC dc = paint.Get();
    const SIZE strip = BitmapSize(strip_.Get());
    const SIZE marker = BitmapSize(markerPicture_.Get());
    RECT client;
    GetClientRect(Hwnd(), &client);
    {
        const OffscreenCanvas canvas(dc, std::max<int>(client.right, 1),
                                     std::max<int>(client.bottom, 1));
        BlitImage(canvas.Dc(), strip_.Get(), strip.cx, strip.cy);
        const win::ScopedDc source(CreateCompatibleDC(dc));
        const win::ScopedSelect keep(source.Get(), markerPicture_.Get());
        GdiTransparentBlt(canvas.Dc(), marker_.x, marker_.y, marker.cx, marker.cy, source.Get(), 0,
                          0, marker.cx, marker.cy, RGB(255, 0, 255));
        DrawFocusMarkIfFocused(Hwnd(), canvas.Dc());
        canvas.CopyTo(dc);
    }
    return 0;
}

void CColorPicker::Pick(POINT at) {
    const PickPoint p = PickerPoint(at.x, at.y, SkinScale());
    if (!p.hit)
        return;
    pressing_ = true;
    marker_ = POINT{p.markerX, p.markerY};
    // The colour as the strip shows it, read from the strip itself so that
    // the marker drawn over it is never taken for a colour.
    const COLORREF c = BitmapPixel(strip_.Get(), p.x, p.y);
    if (c != CLR_INVALID && (c & 0xFFFFFF) != RGB(255, 255, 255)) {
        color_ = c & 0xFFFFFF;
        PostMessageA(GetParent(Hwnd()), kMsgColorPicked, 0, 0);
    }
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

LRESULT CColorPicker::OnLButtonDown(UINT, POINT at) {
    Pick(at);
    return 0;
}

LRESULT CColorPicker::OnLButtonUp() {
    pressing_ = false;
    return 0;
}

LRESULT CColorPicker::OnMouseMove(UINT, POINT at) {
    if (pressing_)
        Pick(at);
    hover_.Moved(Hwnd(), hint_);
    return 0;
}

LRESULT CColorPicker::OnMouseLeave() {
    hover_.Left();
    pressing_ = false;
    PublishHint(Hwnd(), "", 1);
    return 0;
}

// The keys move the pick point from the marker's and click there, so the
// owner sees what a click at that point brings.
PickBounds CColorPicker::KeyPickArea() const {
    return PickerBounds(SkinScale());
}

PickSpot CColorPicker::KeyPickSpot() const {
    const PickBounds area = KeyPickArea();
    return PickSpot{area.left + marker_.x, area.top + marker_.y};
}

}  // namespace skin
