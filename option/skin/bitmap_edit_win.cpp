#include "option/skin/bitmap_edit_win.h"

#include <vector>

#include "common/win/scoped_win.h"
#include "common/win/wide_text_win.h"
#include "option/skin/arial_font_win.h"
#include "option/skin/bitmap_facts_win.h"
#include "option/skin/child_window_win.h"
#include "option/skin/control_math.h"
#include "option/skin/focus_mark_win.h"
#include "option/skin/offscreen_canvas_win.h"
#include "option/skin/scaled_resource_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/skin_messages.h"
#include "option/skin/skin_accessible_win.h"
#include "option/skin/skin_hint_win.h"
#include "option/skin/hover_hint_win.h"

namespace skin {

std::string WindowText(HWND hwnd) {
    return win::WindowTextUtf8(hwnd);
}

std::span<const win::MessageRow<CBitmapEdit>> CBitmapEdit::MessageMap() {
    // Every way the text changes, which the field checks again.
    static constexpr auto textInput =
        win::OnMessages<&CBitmapEdit::OnTextInput, WM_SETTEXT, WM_PASTE, WM_CUT, WM_CLEAR, WM_UNDO,
                        EM_UNDO, EM_REPLACESEL>();
    // The keys typed into the field.
    static constexpr win::MessageRow<CBitmapEdit> typing[] = {
        win::OnMessage<WM_KEYDOWN, &CBitmapEdit::OnKeyDown>(),
        win::OnMessage<WM_CHAR, &CBitmapEdit::OnChar>(),
        win::OnMessage<WM_KEYUP, &CBitmapEdit::OnKeyUp>(),
    };
    static constexpr win::MessageRow<CBitmapEdit> own[] = {
        win::OnMessage<WM_KILLFOCUS, &CBitmapEdit::OnKillFocus>(),
        win::OnMessage<WM_VSCROLL, &CBitmapEdit::OnVScroll>(),
        win::OnMessage<WM_ERASEBKGND, &CBitmapEdit::OnEraseBkgnd>(),
        win::OnMessage<WM_DESTROY, &CBitmapEdit::OnDestroy>(),
        win::OnMessage<WM_GETOBJECT, &CBitmapEdit::OnGetObject>(),
    };
    static constexpr auto rows = win::Checked(
        win::JoinRows(std::to_array(typing), textInput, std::to_array(own), HoverRows()));
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
        win::SetWindowTextUtf8(Hwnd(), text);
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

LRESULT CBitmapEdit::OnGetObject(WPARAM flags, LONG objectId) {
    // An edit field has no label of its own beside it: a screen reader names
    // it by its hint, in the user's language.
    if (objectId != OBJID_CLIENT || hint_.empty())
        return CallDefault();
    const bool readOnly = (GetWindowLongA(Hwnd(), GWL_STYLE) & ES_READONLY) != 0;
    return AnswerAccessible(
        Hwnd(), flags,
        {hint_, ROLE_SYSTEM_TEXT, readOnly ? STATE_SYSTEM_READONLY : 0L, Text(), {}, {}});
}

LRESULT CBitmapEdit::OnDestroy() {
    const LRESULT result = CallDefault();
    brush_.Reset();
    return result;
}

}  // namespace skin
