#include "option/dialogs/macro_list_box_win.h"

#include <vector>

#include "common/win/program_folder_win.h"
#include "common/win/wide_text_win.h"
#include "option/skin/scale_sets.h"
#include "option/skin/scaled_resource_win.h"
#include "option/skin/skin_accessible_win.h"
#include "option/skin/skin_loader_win.h"

namespace option {
namespace {

constexpr int kItemHeight = 22;
constexpr int kPictureLeft = 5;
constexpr int kPictureTop = 2;
constexpr int kTextLeft = 5;
// Text of an item with a picture starts after the widest picture.
constexpr int kTextAfterPicture = 28;

}  // namespace

std::span<const win::MessageRow<CInPlaceEdit>> CInPlaceEdit::MessageMap() {
    static constexpr win::MessageRow<CInPlaceEdit> rows[] = {
        win::OnMessage<WM_KEYUP, &CInPlaceEdit::OnKeyUp>(),
        win::OnMessage<WM_KILLFOCUS, &CInPlaceEdit::OnKillFocus>(),
    };
    static_assert(win::NoRowShadowed(rows), "a row of this table is shadowed by an earlier one");
    return rows;
}

LRESULT CInPlaceEdit::OnKeyUp(UINT key, UINT) {
    if (key == VK_RETURN)
        list_.RequestClose(true);
    else if (key == VK_ESCAPE)
        list_.RequestClose(false);
    return CallDefault();
}

LRESULT CInPlaceEdit::OnKillFocus() {
    // Leaving the edit keeps what was typed.
    list_.RequestClose(true);
    return CallDefault();
}

std::span<const win::MessageRow<CMacroListBox>> CMacroListBox::MessageMap() {
    static constexpr win::MessageRow<CMacroListBox> own[] = {
        win::OnMessage<WM_RBUTTONDOWN, &CMacroListBox::OnRButtonDown>(),
        win::OnMessage<WM_SETFOCUS, &CMacroListBox::OnSetFocus>(),
        win::OnMessage<WM_KEYDOWN, &CMacroListBox::OnKeyDown>(),
        win::OnMessage<kMsgCloseEdit, &CMacroListBox::OnCloseEdit>(),
        win::OnMessage<WM_GETOBJECT, &CMacroListBox::OnGetObject>(),
        win::OnMessage<WM_DESTROY, &CMacroListBox::OnDestroy>(),
    };
    static constexpr auto rows = win::Checked(win::JoinRows(HoverRows(), std::to_array(own)));
    return rows;
}

CMacroListBox::CMacroListBox() = default;
CMacroListBox::~CMacroListBox() {
    DestroyWindowNow();
}

bool CMacroListBox::Create(HWND parent, const RECT& r, UINT id) {
    id_ = id;
    HWND list = CreateWindowExW(0, L"LISTBOX", L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_CLIPCHILDREN | LBS_NOTIFY |
                                    LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                                r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (list == nullptr || !Subclass(list, Procedures::Wide))
        return false;
    // Any character set: a macro's name may be in any script.
    font_.Reset(CreateFontW(skin::SkinPixels(-14), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial"));
    background_.Reset(CreateSolidBrush(kBackColor));
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    SendMessageW(list, LB_SETITEMHEIGHT, 0, skin::SkinPixels(kItemHeight));
    return true;
}

void CMacroListBox::Clear() {
    hover_ = -1;
    if (Editing()) {
        // The item under the edit is going: nothing is left to commit.
        editItem_ = -1;
        DestroyWindow(edit_.Hwnd());
    }
    SendMessageW(Hwnd(), LB_RESETCONTENT, 0, 0);
    rows_.clear();
}

int CMacroListBox::Add(const std::string& text, std::uint32_t data) {
    return Insert(-1, text, data);
}

int CMacroListBox::Insert(int at, const std::string& text, std::uint32_t data) {
    const std::wstring wide = win::Wide(text);
    const auto item = static_cast<int>(SendMessageW(
        Hwnd(), LB_INSERTSTRING, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(wide.c_str())));
    if (item < 0 || item > std::ssize(rows_))
        return -1;
    SendMessageW(Hwnd(), LB_SETITEMDATA, static_cast<WPARAM>(item), data);
    rows_.insert(rows_.begin() + item, text);
    return item;
}

void CMacroListBox::Remove(int item) {
    if (SendMessageW(Hwnd(), LB_DELETESTRING, static_cast<WPARAM>(item), 0) != LB_ERR &&
        item < std::ssize(rows_))
        rows_.erase(rows_.begin() + item);
}

int CMacroListBox::Count() const {
    return static_cast<int>(SendMessageW(Hwnd(), LB_GETCOUNT, 0, 0));
}

int CMacroListBox::Selection() const {
    return static_cast<int>(SendMessageW(Hwnd(), LB_GETCURSEL, 0, 0));
}

void CMacroListBox::Select(int item) {
    SendMessageW(Hwnd(), LB_SETCURSEL, static_cast<WPARAM>(item), 0);
}

std::uint32_t CMacroListBox::Data(int item) const {
    const LRESULT data = SendMessageW(Hwnd(), LB_GETITEMDATA, static_cast<WPARAM>(item), 0);
    return data == LB_ERR ? 0 : static_cast<std::uint32_t>(data);
}

std::string CMacroListBox::Text(int item) const {
    return item >= 0 && item < std::ssize(rows_) ? rows_[static_cast<std::size_t>(item)]
                                                 : std::string();
}

void CMacroListBox::EditNewItem(int limit) {
    const int item = Add("");
    if (item < 0)
        return;
    SendMessageW(Hwnd(), LB_SETTOPINDEX, static_cast<WPARAM>(item), 0);
    OpenEdit(item, EditKind::NewItem, limit);
}

void CMacroListBox::EditSelected(int limit) {
    const int item = Selection();
    if (item >= 0)
        OpenEdit(item, EditKind::Selected, limit);
}

void CMacroListBox::OpenEdit(int item, EditKind kind, int limit) {
    if (Editing())
        RequestClose(true);
    RECT r{};
    if (SendMessageW(Hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(item),
                     reinterpret_cast<LPARAM>(&r)) == LB_ERR)
        return;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;
    if (kind == EditKind::Selected) {
        style |= ES_NUMBER;
        r.left += kTextAfterPicture;
    }
    HWND edit =
        CreateWindowExW(0, L"EDIT", L"", style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        Hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (edit == nullptr)
        return;
    editItem_ = item;
    editKind_ = kind;
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    SendMessageW(edit, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
    if (kind == EditKind::Selected) {
        const std::string text = Text(item);
        win::SetWindowTextUtf8(edit, text);
    }
    edit_.Subclass(edit, Procedures::Wide);
    win::DebugText("CMacroListBox edit %u opened %d\n", id_, item);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SetFocus(edit);
}

void CMacroListBox::RequestClose(bool commit) {
    if (Editing())
        PostMessageA(Hwnd(), kMsgCloseEdit, commit ? 1 : 0, 0);
}

LRESULT CMacroListBox::OnCloseEdit(win::WParam<bool> commit) {
    if (!Editing() || editItem_ < 0)
        return 0;  // an earlier request already closed it
    const std::string text = win::WindowTextUtf8(edit_.Hwnd());
    const int item = editItem_;
    editItem_ = -1;
    win::DebugText("CMacroListBox edit %u closed %d %d\n", id_, commit.value ? 1 : 0,
                   static_cast<int>(text.size()));
    if (!commit.value || (text.empty() && editKind_ == EditKind::NewItem)) {
        // Escape, or a new item left empty: the item was never meant.
        Remove(item);
    } else {
        committed_ = text;
        if (!text.empty()) {
            const std::uint32_t data = Data(item);
            Remove(item);
            Insert(item, text, data);
        }
        Select(item);
        PostMessageA(GetParent(Hwnd()), kMsgListEditCommitted, static_cast<WPARAM>(item),
                     static_cast<LPARAM>(id_));
    }
    // Last, so that the commit is on its way before the edit is seen gone.
    DestroyWindow(edit_.Hwnd());
    return 0;
}

LRESULT CMacroListBox::OnSetFocus() {
    RequestClose(true);
    return CallDefault();
}

// The list box itself walks its items with the arrows, Home and End; what
// the mouse does to an item the keyboard reaches here.
LRESULT CMacroListBox::OnKeyDown(UINT key, UINT) {
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    if (key == VK_DELETE) {
        PostMessageA(GetParent(Hwnd()), kMsgListDeleteKey, 0, static_cast<LPARAM>(id_));
        return 0;
    }
    if (key == VK_APPS || (key == VK_F10 && shift)) {
        PostMessageA(GetParent(Hwnd()), kMsgListRightClick, 1, static_cast<LPARAM>(id_));
        return 0;
    }
    return CallDefault();
}

LRESULT CMacroListBox::OnRButtonDown(UINT, POINT) {
    PostMessageA(GetParent(Hwnd()), kMsgListRightClick, 0, static_cast<LPARAM>(id_));
    return CallDefault();
}

POINT CMacroListBox::KeyboardMenuPoint() const {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    POINT at{client.left, client.top};
    RECT item{};
    const int selected = Selection();
    if (selected >= 0 &&
        SendMessageW(Hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(selected),
                     reinterpret_cast<LPARAM>(&item)) != LB_ERR &&
        item.top >= client.top && item.bottom <= client.bottom) {
        at = POINT{item.left, item.bottom};
    }
    ClientToScreen(Hwnd(), &at);
    return at;
}

void CMacroListBox::RedrawItem(int item) {
    RECT r{};
    if (item >= 0 && SendMessageW(Hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(item),
                                  reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(Hwnd(), &r, FALSE);
}

LRESULT CMacroListBox::OnMouseMove(UINT, POINT at) {
    if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Hwnd(), 0};
        tracking_ = TrackMouseEvent(&track) != FALSE;
    }
    const LRESULT hit = SendMessageW(Hwnd(), LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y));
    const int item = HIWORD(hit) != 0 ? -1 : static_cast<int>(LOWORD(hit));
    if (item != hover_) {
        RedrawItem(hover_);
        hover_ = item;
        RedrawItem(hover_);
    }
    return CallDefault();
}

LRESULT CMacroListBox::OnMouseLeave() {
    tracking_ = false;
    RedrawItem(hover_);
    hover_ = -1;
    return CallDefault();
}

LRESULT CMacroListBox::OnDestroy() {
    if (Editing())
        DestroyWindow(edit_.Hwnd());
    return CallDefault();
}

// The list draws its items itself, so the system's object for it knows no
// item by name.
LRESULT CMacroListBox::OnGetObject(WPARAM flags, LONG objectId) {
    if (objectId != OBJID_CLIENT)
        return CallDefault();
    skin::AccessibleFacts facts;
    facts.name = accessibleName_;
    facts.role = ROLE_SYSTEM_LIST;
    const int count = Count();
    for (int item = 0; item < count; ++item)
        facts.items.push_back(spokenItem_ ? spokenItem_(item) : Text(item));
    return skin::AnswerAccessible(Hwnd(), flags, facts);
}

void CMacroListBox::Measure(MEASUREITEMSTRUCT& item) {
    item.itemHeight = static_cast<UINT>(skin::SkinPixels(kItemHeight));
}

HBITMAP CMacroListBox::Picture(unsigned id) {
    // Kept per scale: after a move to another monitor the rows take the
    // pictures drawn for the new set.
    const unsigned key =
        static_cast<unsigned>(skin::ScaledResourceId(static_cast<int>(id), skin::SkinScale()));
    auto found = pictures_.find(key);
    if (found == pictures_.end()) {
        HANDLE picture =
            skin::LoadScaledImage(id, skin::SkinScale(), IMAGE_BITMAP, LR_CREATEDIBSECTION);
        found =
            pictures_.emplace(key, win::ScopedGdi<HBITMAP>(static_cast<HBITMAP>(picture))).first;
    }
    return found->second.Get();
}

void CMacroListBox::Draw(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1))
        return;
    const int index = static_cast<int>(item.itemID);
    const bool marked = (item.itemState & ODS_SELECTED) != 0 || index == hover_;
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    win::ScopedGdi<HBRUSH> fill(CreateSolidBrush(marked ? kSelectedColor : kBackColor));
    FillRect(dc, &r, fill.Get());

    const auto px = skin::SkinPixels;
    int textLeft = r.left + px(kTextLeft);
    const unsigned pictureId = LOWORD(item.itemData);
    if (pictureId != 0) {
        if (HBITMAP picture = Picture(pictureId)) {
            BITMAP info{};
            GetObjectA(picture, sizeof info, &info);
            win::ScopedDc source(CreateCompatibleDC(dc));
            win::ScopedSelect chosen(source.Get(), picture);
            // Drawn for the row's scale; black is the transparent colour.
            GdiTransparentBlt(dc, r.left + px(kPictureLeft), r.top + px(kPictureTop), info.bmWidth,
                              info.bmHeight, source.Get(), 0, 0, info.bmWidth, info.bmHeight,
                              RGB(0, 0, 0));
        }
        textLeft = r.left + px(kTextAfterPicture);
    }
    const std::string text = Text(index);
    win::ScopedSelect font(dc, font_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTextColor);
    RECT textArea{textLeft, r.top, r.right - px(2), r.bottom};
    win::DrawTextUtf8(dc, text, &textArea,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace option
