#include "option/skin/spin_box_win.h"

#include <cstdio>

#include "common/win/scoped_win.h"
#include "option/skin/arial_font_win.h"
#include "option/skin/bitmap_facts_win.h"
#include "option/skin/child_window_win.h"
#include "option/skin/control_math.h"
#include "option/skin/focus_mark_win.h"
#include "option/skin/offscreen_canvas_win.h"
#include "option/skin/scaled_resource_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/skin_messages.h"
#include "option/skin/skin_hint_win.h"
#include "option/skin/hover_hint_win.h"

namespace skin {
namespace {

constexpr win::RegisteredMessage kEditKillFocus(kEditKillFocusName);

std::string Decimal(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return text;
}

}  // namespace

std::span<const win::MessageRow<CSpinBox>> CSpinBox::MessageMap() {
    static constexpr win::MessageRow<CSpinBox> own[] = {
        win::OnControl<&CSpinBox::OnUp>(BN_CLICKED, kUpId),
        win::OnControl<&CSpinBox::OnDown>(BN_CLICKED, kDownId),
        win::OnRegistered<&CSpinBox::OnEditCommit>(kEditKillFocus),
        win::OnMessage<kMsgEditEnter, &CSpinBox::OnEditEnter>(),
    };
    static constexpr auto rows = win::Checked(
        win::JoinRows(PaintedRows(), HintRows(),
                      win::OnMessages<&CSpinBox::OnCtlColor, WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC>(),
                      std::to_array(own)));
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
    RepaintIfMade(Hwnd());
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

}  // namespace skin
