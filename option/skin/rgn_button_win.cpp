#include "option/skin/rgn_button_win.h"

#include <utility>

#include "common/win/scoped_win.h"
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

std::span<const win::MessageRow<CRgnButton>> CRgnButton::MessageMap() {
    static constexpr auto rows =
        Table(LifetimeRows(), PressRows(), KeyRows(), FocusCueRows(), CaptionRows(),
              std::array{win::OnMessage<WM_MOUSEMOVE, &CRgnButton::OnMouseMove>()});
    return rows;
}

CRgnButton::~CRgnButton() {
    DestroyWindowNow();
    Release();
}

void CRgnButton::Release() {
    images_.Clear();
    maskPicture_.Reset();
    shape_.Reset();
}

bool CRgnButton::CreateButton(const char* name, const RECT& r, HWND parent, UINT id) {
    win::WindowSpec spec =
        ChildSpec("Rgn Button", WS_CHILD | WS_VISIBLE | WS_TABSTOP, r, parent, id);
    spec.title = name != nullptr ? name : "";
    spec.classStyle = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    return Create(spec);
}

void CRgnButton::SetBitmaps(const RECT& r, HBITMAP normal, HBITMAP over, HBITMAP down,
                            HBITMAP disabled) {
    images_.Cut(Hwnd(), r, normal, over, down, disabled);
    RepaintIfMade(Hwnd());
}

void CRgnButton::SetBitmaps(const RECT& r, const SkinSheets& sheets) {
    images_.CutWhenNeeded(r, sheets.Share());
    RepaintIfMade(Hwnd());
}

void CRgnButton::SetLatched(bool latched) {
    SetLatch(Hwnd(), latched_, latched);
}

bool CRgnButton::InShape(POINT p) const {
    if (shape_)
        return PtInRegion(shape_.Get(), p.x, p.y) != 0;
    RECT client;
    GetClientRect(Hwnd(), &client);
    return PtInRect(&client, p) != 0;
}

LRESULT CRgnButton::OnCreate() {
    const LRESULT result = CallDefault();
    maskPicture_.Reset(LoadBitmapFile(maskFile_));
    win::ScopedGdi<HRGN> region(CreateRegionFromMask(maskPicture_.Get(), RGB(255, 255, 255), 0));
    if (!region)
        return result;
    shape_.Reset(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(shape_.Get(), region.Get(), nullptr, RGN_COPY);
    win::GiveWindowRegion(Hwnd(), std::move(region), true);
    return result;
}

LRESULT CRgnButton::OnLButtonDown(UINT keys, POINT at) {
    HWND self = Hwnd();
    if (!captured_ && GetCapture() == self && !InShape(at)) {
        // Hovered, but pressed away from the outline: not this button's press.
        state_ = RgnState::Normal;
        if (HWND parent = GetParent(self); parent != nullptr)
            PostMessageA(parent, kMsgButtonHover, 0, tag_);
        InvalidateRect(self, nullptr, FALSE);
        ForwardPress(self, keys, at);
        return 0;
    }
    captured_ = true;
    SetCapture(Hwnd());
    if (InShape(at)) {
        state_ = RgnState::Down;
    } else {
        pressedInRegion_ = false;
    }
    InvalidateRect(Hwnd(), nullptr, FALSE);
    return 0;
}

LRESULT CRgnButton::OnMouseMove(UINT, POINT at) {
    HWND self = Hwnd();
    if (captured_) {
        const bool inside = InShape(at);
        if (inside != pressedInRegion_) {
            pressedInRegion_ = inside;
            InvalidateRect(self, nullptr, FALSE);
        }
    }
    if (LeftButtonDown())
        return 0;
    HWND parent = GetParent(self);
    if (GetCapture() != self) {
        if (GetActiveWindow() != nullptr && OwnerOrParent(self) != nullptr) {
            state_ = RgnState::Over;
            if (parent != nullptr)
                PostMessageA(parent, kMsgButtonHover, 1, tag_);
            SetCapture(self);
            InvalidateRect(self, nullptr, FALSE);
        }
        return 0;
    }
    POINT p = at;
    ClientToScreen(self, &p);
    if (WindowFromPoint(p) != self) {
        state_ = RgnState::Normal;
        if (parent != nullptr)
            PostMessageA(parent, kMsgButtonHover, 0, tag_);
        InvalidateRect(self, nullptr, FALSE);
        ReleaseCapture();
    }
    return 0;
}

LRESULT CRgnButton::OnLButtonUp(UINT, POINT at) {
    captured_ = false;
    pressedInRegion_ = false;
    if (latchingMode_ && state_ == RgnState::Down)
        latched_ = !latched_;
    state_ = RgnState::Normal;
    HWND self = Hwnd();
    HWND parent = GetParent(self);
    if (parent != nullptr)
        PostMessageA(parent, kMsgButtonHover, 0, tag_);
    ReleaseCapture();
    InvalidateRect(self, nullptr, FALSE);
    const LRESULT result = CallDefault();
    if (InShape(at) && parent != nullptr) {
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(self), BN_CLICKED),
                     reinterpret_cast<LPARAM>(self));
    }
    return result;
}

void CRgnButton::PaintInto(HDC dc) {
    const RgnPaint choice = ChooseRgnImage(latched_, state_, IsWindowEnabled(Hwnd()) != FALSE);
    state_ = choice.state;
    HBITMAP image = images_[static_cast<std::size_t>(choice.image)];
    if (caption_ && !caption_->word.shown.empty()) {
        // The word goes over the image off the screen, so that it never
        // flickers on its own.
        RECT client{};
        GetClientRect(Hwnd(), &client);
        const OffscreenCanvas canvas(dc, client.right, client.bottom);
        if (image != nullptr)
            BlitImage(canvas.Dc(), image, client.right, client.bottom);
        caption_->Draw(canvas.Dc(), client, choice.image);
        canvas.CopyTo(dc);
    } else if (image != nullptr) {
        const SIZE size = BitmapSize(image);
        BlitImage(dc, image, size.cx, size.cy);
    }
    DrawFocusMarkIfFocused(Hwnd(), dc);
}

void CRgnButton::Press() {
    PressByKeyboard(Hwnd(), latchingMode_, latched_);
}

LRESULT CRgnButton::OnKeyDown(UINT key, UINT) {
    if (!TakePressKey(Hwnd(), key))
        return CallDefault();
    Press();
    return 0;
}

LRESULT CRgnButton::OnGetObject(WPARAM flags, LONG objectId) {
    if (objectId != OBJID_CLIENT)
        return CallDefault();
    return AnswerForButton(Hwnd(), flags, {accessibleName_, ROLE_SYSTEM_PAGETAB, 0, {}, {}, {}},
                           latched_);
}

LRESULT CRgnButton::OnTakeCaption(win::LParam<const ControlCaption*> caption) {
    if (caption.value == nullptr)
        return 0;
    caption_ = *caption.value;
    if (!caption_->hint.empty())
        accessibleName_ = caption_->hint;
    InvalidateRect(Hwnd(), nullptr, FALSE);
    return 1;
}

LRESULT CRgnButton::OnDestroy() {
    Release();
    return CallDefault();
}

}  // namespace skin
