#include "option/skin/skin_button_win.h"

#include <commctrl.h>

#include <utility>

#include "common/win/scoped_win.h"
#include "common/win/wide_text_win.h"
#include "option/skin/accessible_text.h"
#include "option/skin/arial_font_win.h"
#include "option/skin/bitmap_facts_win.h"
#include "option/skin/button_behaviour_win.h"
#include "option/skin/child_window_win.h"
#include "option/skin/control_keys_win.h"
#include "option/skin/control_math.h"
#include "option/skin/focus_mark_win.h"
#include "option/skin/offscreen_canvas_win.h"
#include "option/skin/region_win.h"
#include "option/skin/skin_accessible_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/themed_controls_win.h"

namespace skin {

namespace {

// A face text starts right of the pictogram the skin draws at the left.
constexpr int kFaceTextInset = 26;

}  // namespace

std::span<const win::MessageRow<CSkinButton>> CSkinButton::MessageMap() {
    // What redraws the face: a state set from outside, enabling, the focus.
    static constexpr auto faceChanges =
        win::OnMessages<&CSkinButton::OnStateChange, BM_SETSTATE, WM_ENABLE, WM_SETFOCUS>();
    static constexpr Row own[] = {
        win::OnMessage<WM_MOUSEMOVE, &CSkinButton::OnMouseMove>(),
        win::OnMessage<WM_DESTROY, &CSkinButton::OnDestroy>(),
        win::OnMessage<WM_SYSKEYDOWN, &CSkinButton::OnSysKeyDown>(),
        win::OnMessage<WM_TIMER, &CSkinButton::OnTimer>(),
    };
    static constexpr auto rows = Table(PressRows(), PressLostRows(), KeyRows(), CaptionRows(),
                                       faceChanges, std::to_array(own));
    return rows;
}

CSkinButton::~CSkinButton() {
    DestroyWindowNow();
    if (toolTip_ != nullptr && IsWindow(toolTip_))
        DestroyWindow(toolTip_);
}

bool CSkinButton::Create(HWND parent, const RECT& r, UINT id) {
    // Made owner-drawn at once: a style changed afterwards is a trip to the
    // window server and two more messages for every button.
    return CreateAttached("BUTTON", WS_VISIBLE | BS_OWNERDRAW, r, parent, id,
                          [this](HWND button) { return Attach(button); });
}

bool CSkinButton::Attach(HWND button) {
    if (!Subclass(button))
        return false;
    // Owner-drawn, keeping the other style bits, and out of the tab order.
    const LONG_PTR before = GetWindowLongPtrA(button, GWL_STYLE);
    LONG_PTR style = (before & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW;
    style &= ~static_cast<LONG_PTR>(WS_TABSTOP);
    if (style != before) {
        SetWindowLongPtrA(button, GWL_STYLE, style);
        InvalidateRect(button, nullptr, FALSE);
    }
    return true;
}

bool CSkinButton::CreateFromPos(HWND parent, const ButtonPos& pos, UINT id,
                                const SkinSheets& sheets) {
    const RECT r = ToRect(pos.rect);
    if (!Create(parent, r, id))
        return false;
    SetBitmaps(r, sheets);
    SetLatched(pos.state != 0);
    SetHint(pos.caption);
    return true;
}

bool CSkinButton::CreateFromRow(HWND parent, const ControlRow& row, const ButtonPos& pos,
                                const SkinSheets& sheets) {
    if (!CreateFromPos(parent, pos, static_cast<UINT>(row.id), sheets))
        return false;
    SetTag(row.key);
    if (row.kind == ControlKind::LatchingButton || row.kind == ControlKind::PageTab)
        SetLatchingMode(true);
    return true;
}

void CSkinButton::SetBitmaps(const RECT& r, HBITMAP normal, HBITMAP over, HBITMAP down,
                             HBITMAP disabled) {
    images_.Cut(Hwnd(), r, normal, over, down, disabled);
    TookImages();
}

void CSkinButton::SetBitmaps(const RECT& r, const SkinSheets& sheets) {
    images_.CutWhenNeeded(r, sheets.Share());
    TookImages();
}

void CSkinButton::TookImages() {
    if (Hwnd() != nullptr) {
        const LONG_PTR style = GetWindowLongPtrA(Hwnd(), GWL_STYLE);
        const LONG_PTR plain = style & ~static_cast<LONG_PTR>(WS_BORDER | WS_TABSTOP);
        // Usually nothing to change (Attach took the tab stop off already);
        // setting a style is a trip to the window server and two messages.
        if (plain != style)
            SetWindowLongPtrA(Hwnd(), GWL_STYLE, plain);
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

void CSkinButton::SetLatched(bool latched) {
    SetLatch(Hwnd(), latched_, latched);
}

void CSkinButton::SetHover(bool hover) {
    hover_ = hover;
    NotifyHover(hover_);
}

void CSkinButton::SetHint(const std::string& text) {
    hint_ = text;
    if (toolTip_ != nullptr)
        UpdateToolTip();
}

// The tool tip is never shown, so it is made when the mouse first reaches the
// button rather than with the button: a window per button is a good part of a
// skinned window's start. Even then it waits until the windows have painted
// (a timer message comes after every paint): the pointer may rest on a button
// of a window that is just opening, and the first tool tip loads the controls
// library.
void CSkinButton::EnsureToolTip() {
    if (Hwnd() == nullptr || toolTip_ != nullptr || toolTipAsked_)
        return;
    // Asked once: set again on every mouse move, the timer would start over
    // each time and never come while the mouse keeps moving.
    toolTipAsked_ = SetTimer(Hwnd(), kToolTipTimer, USER_TIMER_MINIMUM, nullptr) != 0;
}

LRESULT CSkinButton::OnTimer(UINT_PTR id) {
    if (id != kToolTipTimer)
        return CallDefault();
    KillTimer(Hwnd(), kToolTipTimer);
    toolTipAsked_ = false;
    if (toolTip_ != nullptr || !ThemedControls::Load())
        return 0;
    const ThemedControls themed;
    // The wide class: a hint in any script reaches it whole whatever the
    // process's code page.
    toolTip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (toolTip_ != nullptr)
        UpdateToolTip();
    return 0;
}

void CSkinButton::UpdateToolTip() {
    std::wstring hint = win::Widen(hint_, CP_UTF8);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = Hwnd();
    tool.uId = 1;
    tool.lpszText = hint.data();
    GetClientRect(Hwnd(), &tool.rect);
    if (SendMessageW(toolTip_, TTM_GETTOOLCOUNT, 0, 0) == 0)
        SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(toolTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(toolTip_, TTM_ACTIVATE, FALSE, 0);
}

void CSkinButton::SetFaceText(const std::string& text) {
    faceText_ = text;
    RepaintIfMade(Hwnd());
}

std::string CSkinButton::HintFor(bool /*hover*/) const {
    return hint_;
}

void CSkinButton::NotifyHover(bool hover) {
    HWND parent = GetParent(Hwnd());
    if (parent != nullptr)
        PostMessageA(parent, kMsgButtonHover, hover ? 1 : 0, tag_);
    PublishHint(Hwnd(), HintFor(hover), hover ? 1 : 0);
}

ButtonImage CSkinButton::CurrentImage() const {
    const bool selected =
        Hwnd() != nullptr && (SendMessageA(Hwnd(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    const bool disabled = Hwnd() != nullptr && !IsWindowEnabled(Hwnd());
    return ChooseButtonImage(latchingMode_, latched_, hover_, selected, disabled);
}

void CSkinButton::DrawFace(HDC dc, HBITMAP image, const RECT& client) {
    const int w = client.right - client.left;
    const int h = client.bottom - client.top;
    const bool worded = caption_ && !caption_->word.shown.empty();
    if (faceText_.empty() && !worded) {
        BlitImage(dc, image, w, h);
        return;
    }
    const OffscreenCanvas canvas(dc, w, h);
    HDC memory = canvas.Dc();
    BlitImage(memory, image, w, h);
    if (worded)
        caption_->Draw(memory, client, CurrentImage());
    if (faceText_.empty()) {
        canvas.CopyTo(dc);
        return;
    }
    const win::ScopedSelect keepFont(memory, ArialFont(SkinPixels(16)));
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, RGB(224, 224, 224));
    SIZE extent{};
    const std::wstring face = win::Widen(faceText_, CP_UTF8);
    GetTextExtentPoint32W(memory, face.c_str(), static_cast<int>(face.size()), &extent);
    TextOutW(memory, client.left + SkinPixels(kFaceTextInset), h / 2 - extent.cy / 2, face.c_str(),
             static_cast<int>(face.size()));
    canvas.CopyTo(dc);
}

LRESULT CSkinButton::OnTakeCaption(win::LParam<const ControlCaption*> caption) {
    if (caption.value == nullptr)
        return 0;
    // The hint came with the placement (the window may have added to it).
    caption_ = *caption.value;
    InvalidateRect(Hwnd(), nullptr, FALSE);
    return 1;
}

void CSkinButton::Relay(UINT msg, UINT keys, POINT at) {
    EnsureToolTip();
    if (toolTip_ == nullptr)
        return;
    MSG m{Hwnd(), msg, keys, MAKELPARAM(at.x, at.y), static_cast<DWORD>(GetMessageTime()), {}};
    GetCursorPos(&m.pt);
    SendMessageA(toolTip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

void CSkinButton::PaintInto(HDC dc) {
    RECT client;
    GetClientRect(Hwnd(), &client);
    DrawFace(dc, images_[static_cast<std::size_t>(CurrentImage())], client);
    DrawFocusMarkIfFocused(Hwnd(), dc);
}

LRESULT CSkinButton::OnMouseMove(UINT keys, POINT at) {
    Relay(WM_MOUSEMOVE, keys, at);
    const LRESULT result = CallDefault();
    HWND self = Hwnd();
    if (LeftButtonDown() && !hover_)
        return result;  // a drag that began elsewhere
    if (GetCapture() != self) {
        if (GetActiveWindow() != nullptr && OwnerOrParent(self) != nullptr) {
            hover_ = true;
            NotifyHover(true);
            SetCapture(self);
            InvalidateRect(self, nullptr, FALSE);
        }
        return result;
    }
    POINT p = at;
    ClientToScreen(self, &p);
    if (WindowFromPoint(p) == self)
        return result;
    if (hover_) {
        hover_ = false;
        NotifyHover(false);
        InvalidateRect(self, nullptr, FALSE);
    }
    if (!LeftButtonDown())
        ReleaseCapture();
    return result;
}

LRESULT CSkinButton::OnKillFocus() {
    const LRESULT result = CallDefault();
    hover_ = false;
    NotifyHover(false);
    InvalidateRect(Hwnd(), nullptr, FALSE);
    return result;
}

LRESULT CSkinButton::OnCaptureChanged(HWND taker) {
    // The system button takes the capture on a press while the button still
    // holds it for hover; that hands nothing away, and giving it up here
    // would leave the press without the capture that lets it end off the
    // button.
    if (hover_ && taker != Hwnd()) {
        // Only give up a capture that is still ours; another window's capture
        // (a menu, a drag) is left alone.
        if (GetCapture() == Hwnd())
            ReleaseCapture();
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
    return CallDefault();
}

LRESULT CSkinButton::OnLButtonDown(UINT keys, POINT at) {
    Relay(WM_LBUTTONDOWN, keys, at);
    RECT client{};
    GetClientRect(Hwnd(), &client);
    if (!PtInRect(&client, at) && GetCapture() == Hwnd()) {
        PassOnPress(keys, at);
        return 0;
    }
    HWND top = GetAncestor(Hwnd(), GA_ROOT);
    if (top != nullptr && GetActiveWindow() != top)
        SetActiveWindow(top);
    const LRESULT result = CallDefault();
    InvalidateRect(Hwnd(), nullptr, FALSE);
    return result;
}

// A press away from the hovered button ends its hover and goes on to the
// window under the pointer.
void CSkinButton::PassOnPress(UINT keys, POINT at) {
    hover_ = false;
    NotifyHover(false);
    InvalidateRect(Hwnd(), nullptr, FALSE);
    ForwardPress(Hwnd(), keys, at);
}

LRESULT CSkinButton::OnLButtonUp(UINT keys, POINT at) {
    Relay(WM_LBUTTONUP, keys, at);
    if (latchingMode_) {
        Press();
        return 0;
    }
    const LRESULT result = CallDefault();
    InvalidateRect(Hwnd(), nullptr, FALSE);
    return result;
}

LRESULT CSkinButton::OnStateChange() {
    const LRESULT result = CallDefault();
    InvalidateRect(Hwnd(), nullptr, FALSE);
    return result;
}

void CSkinButton::Press() {
    PressByKeyboard(Hwnd(), latchingMode_, latched_);
}

LRESULT CSkinButton::OnGetDlgCode() {
    return kWantsAllKeys;
}

LRESULT CSkinButton::OnKeyDown(UINT key, UINT) {
    // Taken before the system button sees Space, which would report a push
    // button's click only and never flip a latching one.
    if (!TakePressKey(Hwnd(), key))
        return CallDefault();
    Press();
    return 0;
}

std::string CSkinButton::AccessibleValue() const {
    return hint_.empty() ? std::string() : faceText_;
}

LRESULT CSkinButton::OnGetObject(WPARAM flags, LONG objectId) {
    if (objectId != OBJID_CLIENT)
        return CallDefault();
    const long role = accessibleRole_ != 0 ? accessibleRole_
                      : latchingMode_      ? ROLE_SYSTEM_CHECKBUTTON
                                           : ROLE_SYSTEM_PUSHBUTTON;
    return AnswerForButton(
        Hwnd(), flags,
        {hint_.empty() ? faceText_ : hint_, role, 0, AccessibleValue(), std::string(), {}},
        latched_);
}

LRESULT CSkinButton::OnSysKeyDown(UINT key, UINT) {
    // Shift+F10 opens what a click opens (the menus behind the buttons).
    if (key == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000) != 0) {
        Press();
        return 0;
    }
    return CallDefault();
}

LRESULT CSkinButton::OnDestroy() {
    if (toolTip_ != nullptr && IsWindow(toolTip_))
        DestroyWindow(toolTip_);
    toolTip_ = nullptr;
    return CallDefault();
}

}  // namespace skin
