#include "option/skin/value_controls_win.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "option/skin/control_math.h"

namespace skin {
namespace {

const win::RegisteredMessage kEditKillFocus(kEditKillFocusName);

void StartLeaveTracking(HWND hwnd, bool& tracking) {
    if (tracking)
        return;
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = hwnd;
    tme.dwHoverTime = 1;
    tracking = TrackMouseEvent(&tme) != FALSE;
}

void PublishIfNew(HWND hwnd, const std::string& hint) {
    if (!SameHint(hint))
        PublishHint(hwnd, hint, 1);
}

bool CreateChild(win::Window& window, const char* className, DWORD style, const RECT& r,
                 HWND parent, UINT id) {
    win::WindowSpec spec;
    spec.className = className;
    spec.style = style;
    spec.x = r.left;
    spec.y = r.top;
    spec.width = r.right - r.left;
    spec.height = r.bottom - r.top;
    spec.parent = parent;
    spec.menuOrId = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id));
    spec.cursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    return window.Create(spec);
}

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    std::vector<char> buffer(static_cast<std::size_t>(length) + 2, '\0');
    GetWindowTextA(hwnd, buffer.data(), length + 1);
    return buffer.data();
}

std::string Decimal(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return text;
}

}  // namespace

// ---- CBitmapEdit ---------------------------------------------------------------

std::span<const win::MessageRow<CBitmapEdit>> CBitmapEdit::MessageMap() {
    static const win::MessageRow<CBitmapEdit> rows[] = {
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
    return rows;
}

CBitmapEdit::~CBitmapEdit() {
    if (brush_ != nullptr)
        DeleteObject(brush_);
    if (font_ != nullptr)
        DeleteObject(font_);
}

bool CBitmapEdit::Create(DWORD style, const RECT& r, HWND parent, UINT id) {
    HWND edit = CreateWindowExA(
        0, "EDIT", "", style | WS_CHILD, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (edit == nullptr)
        return false;
    if (!Attach(edit)) {
        DestroyWindow(edit);
        return false;
    }
    return true;
}

bool CBitmapEdit::Attach(HWND edit) {
    if (!Subclass(edit))
        return false;
    RegisterSkinMessages();
    if (font_ == nullptr) {
        font_ = CreateFontA(fontHeight_, fontWidth_, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
    }
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
    if (Hwnd() != nullptr && font_ != nullptr)
        SendMessageA(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
}

std::string CBitmapEdit::Text() const {
    return Hwnd() != nullptr ? WindowText(Hwnd()) : "";
}

void CBitmapEdit::SetText(const std::string& text) {
    if (Hwnd() != nullptr)
        SetWindowTextA(Hwnd(), text.c_str());
}

HBRUSH CBitmapEdit::CtlColor(HDC dc) {
    if (brush_ != nullptr)
        DeleteObject(brush_);
    brush_ = CreateSolidBrush(backColor_);
    SetTextColor(dc, textColor_);
    SetBkColor(dc, backColor_);
    return brush_;
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
    StartLeaveTracking(Hwnd(), tracking_);
    PublishIfNew(Hwnd(), hint_);
    return CallDefault();
}

LRESULT CBitmapEdit::OnMouseLeave() {
    tracking_ = false;
    return CallDefault();
}

LRESULT CBitmapEdit::OnDestroy() {
    const LRESULT result = CallDefault();
    if (brush_ != nullptr)
        DeleteObject(brush_);
    brush_ = nullptr;
    return result;
}

// ---- CSpinBox -----------------------------------------------------------------

std::span<const win::MessageRow<CSpinBox>> CSpinBox::MessageMap() {
    static const win::MessageRow<CSpinBox> rows[] = {
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
    return rows;
}

CSpinBox::~CSpinBox() {
    for (HBITMAP& image : images_) {
        if (image != nullptr)
            DeleteObject(image);
        image = nullptr;
    }
}

bool CSpinBox::Create(const RECT& r, HWND parent, UINT id) {
    rect_ = r;
    parent_ = parent;
    id_ = id;
    if (!CreateChild(*this, "SkinSpinBox", WS_CHILD | WS_VISIBLE, r, parent, id))
        return false;
    const int w = r.right - r.left;
    upRect_ = RECT{w - 20, 2, w - 2, 9};
    downRect_ = RECT{w - 20, 11, w - 2, 18};
    if (!up_.Create(Hwnd(), upRect_, kUpId) || !down_.Create(Hwnd(), downRect_, kDownId)) {
        return false;
    }
    up_.SetHint("");
    down_.SetHint("");
    const RECT editRect{2, 2, w - 20, 16};
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
    const HBITMAP sheets[4] = {normal, over, down, disabled};
    for (int i = 0; i < 4; ++i) {
        if (images_[i] != nullptr)
            DeleteObject(images_[i]);
        images_[i] = CutImage(Hwnd(), sheets[i], r);
    }
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
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Hwnd(), &ps);
    BlitImage(dc, images_[0], rect_.right - rect_.left, rect_.bottom - rect_.top);
    EndPaint(Hwnd(), &ps);
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
    StartLeaveTracking(Hwnd(), tracking_);
    PublishIfNew(Hwnd(), hint_);
    return CallDefault();
}

LRESULT CSpinBox::OnMouseLeave() {
    tracking_ = false;
    return 0;
}

// ---- CSkinLabel ---------------------------------------------------------------

std::span<const win::MessageRow<CSkinLabel>> CSkinLabel::MessageMap() {
    static const win::MessageRow<CSkinLabel> rows[] = {
        win::OnMessage<WM_PAINT, &CSkinLabel::OnPaint>(),
        win::OnMessage<WM_ERASEBKGND, &CSkinLabel::OnEraseBkgnd>(),
        win::OnMessage<WM_MOUSEMOVE, &CSkinLabel::OnMouseMove>(),
        win::OnMessage<WM_MOUSELEAVE, &CSkinLabel::OnMouseLeave>(),
    };
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
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Hwnd(), &ps);
    RECT client;
    GetClientRect(Hwnd(), &client);
    const int w = std::max<int>(client.right, 1);
    const int h = std::max<int>(client.bottom, 1);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP canvas = CreateCompatibleBitmap(dc, w, h);
    HGDIOBJ oldCanvas = SelectObject(memory, canvas);
    HBRUSH brush = CreateSolidBrush(back_);
    FillRect(memory, &client, brush);
    DeleteObject(brush);
    HFONT font = bold_ ? CreateFontA(16, 8, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                     DEFAULT_PITCH | FF_DONTCARE, "Arial")
                       : CreateFontA(14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                     DEFAULT_PITCH | FF_DONTCARE, "Arial");
    HGDIOBJ oldFont = SelectObject(memory, font);
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, RGB(2, 2, 2));
    RECT textRect = client;
    DrawTextA(memory, text_.c_str(), static_cast<int>(text_.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | (bold_ ? DT_LEFT : DT_CENTER));
    SelectObject(memory, oldFont);
    DeleteObject(font);
    BitBlt(dc, 0, 0, w, h, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldCanvas);
    DeleteObject(canvas);
    DeleteDC(memory);
    EndPaint(Hwnd(), &ps);
    return 0;
}

LRESULT CSkinLabel::OnMouseMove() {
    if (hintEnabled_) {
        StartLeaveTracking(Hwnd(), tracking_);
        PublishIfNew(Hwnd(), hint_);
    }
    return CallDefault();
}

LRESULT CSkinLabel::OnMouseLeave() {
    tracking_ = false;
    return 0;
}

// ---- CColorPicker -------------------------------------------------------------

std::span<const win::MessageRow<CColorPicker>> CColorPicker::MessageMap() {
    static const win::MessageRow<CColorPicker> rows[] = {
        win::OnMessage<WM_PAINT, &CColorPicker::OnPaint>(),
        win::OnMessage<WM_ERASEBKGND, &CColorPicker::OnEraseBkgnd>(),
        win::OnMessage<WM_LBUTTONDOWN, &CColorPicker::OnLButtonDown>(),
        win::OnMessage<WM_LBUTTONUP, &CColorPicker::OnLButtonUp>(),
        win::OnMessage<WM_MOUSEMOVE, &CColorPicker::OnMouseMove>(),
        win::OnMessage<WM_MOUSELEAVE, &CColorPicker::OnMouseLeave>(),
    };
    return rows;
}

CColorPicker::~CColorPicker() {
    if (strip_ != nullptr)
        DeleteObject(strip_);
    if (markerPicture_ != nullptr)
        DeleteObject(markerPicture_);
}

int CColorPicker::Create(UINT stripResource, HWND parent, const RECT& r, UINT id,
                         UINT markerResource) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HBITMAP strip = LoadBitmapA(instance, MAKEINTRESOURCEA(stripResource));
    HBITMAP marker = LoadBitmapA(instance, MAKEINTRESOURCEA(markerResource));
    if (strip == nullptr || marker == nullptr) {
        if (strip != nullptr)
            DeleteObject(strip);
        if (marker != nullptr)
            DeleteObject(marker);
        return 0;
    }
    strip_ = strip;
    markerPicture_ = marker;
    return CreateChild(*this, "SkinColorPicker", WS_CHILD | WS_VISIBLE, r, parent, id) ? 1 : 0;
}

LRESULT CColorPicker::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Hwnd(), &ps);
    BITMAP strip{};
    GetObjectA(strip_, sizeof strip, &strip);
    BITMAP marker{};
    GetObjectA(markerPicture_, sizeof marker, &marker);
    RECT client;
    GetClientRect(Hwnd(), &client);
    const int w = std::max<int>(client.right, 1);
    const int h = std::max<int>(client.bottom, 1);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP canvas = CreateCompatibleBitmap(dc, w, h);
    HGDIOBJ oldCanvas = SelectObject(memory, canvas);
    BlitImage(memory, strip_, strip.bmWidth, strip.bmHeight);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, markerPicture_);
    TransparentBlt(memory, marker_.x, marker_.y, marker.bmWidth, marker.bmHeight, source, 0, 0,
                   marker.bmWidth, marker.bmHeight, RGB(255, 0, 255));
    SelectObject(source, old);
    DeleteDC(source);
    BitBlt(dc, 0, 0, w, h, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldCanvas);
    DeleteObject(canvas);
    DeleteDC(memory);
    EndPaint(Hwnd(), &ps);
    return 0;
}

void CColorPicker::Pick(POINT at) {
    const PickPoint p = PickerPoint(at.x, at.y);
    if (!p.hit)
        return;
    pressing_ = true;
    marker_ = POINT{p.markerX, p.markerY};
    // The colour as the strip shows it, read from the strip itself so that
    // the marker drawn over it is never taken for a colour.
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, strip_);
    const COLORREF c = GetPixel(memory, p.x, p.y);
    SelectObject(memory, old);
    DeleteDC(memory);
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
    StartLeaveTracking(Hwnd(), tracking_);
    PublishIfNew(Hwnd(), hint_);
    return 0;
}

LRESULT CColorPicker::OnMouseLeave() {
    tracking_ = false;
    pressing_ = false;
    PublishHint(Hwnd(), "", 1);
    return 0;
}

}  // namespace skin
