#include "option/skin/skin_menu_win.h"

#include <algorithm>
#include <cstring>

#include "common/win/scoped_win.h"
#include "common/win/wide_text_win.h"
#include "option/skin/control_math.h"
#include "option/skin/modal_loop_win.h"
#include "option/skin/scaled_resource_win.h"
#include "option/skin/skin_loader_win.h"

namespace skin {
namespace {

std::vector<CSkinMenu*>& LiveMenus() {
    static std::vector<CSkinMenu*> menus;
    return menus;
}

}  // namespace

// ---- CSkinMenu -----------------------------------------------------------------

CSkinMenu::CSkinMenu(HFONT font) : font_(font) {
    LiveMenus().push_back(this);
}

CSkinMenu::~CSkinMenu() {
    Destroy();
    auto& live = LiveMenus();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

bool CSkinMenu::Attach() {
    Destroy();
    menu_.Reset(CreatePopupMenu());
    return menu_.Valid();
}

void CSkinMenu::SetColors(COLORREF normalBack, COLORREF selectedBack) {
    normalBack_ = normalBack;
    selectedBack_ = selectedBack;
}

void CSkinMenu::SetSeparatorColors(COLORREF first, COLORREF second) {
    separator_ = first;
    separator2_ = second;
}

void CSkinMenu::SetTextColors(COLORREF normal, COLORREF selected) {
    text_ = normal;
    selectedText_ = selected;
}

void CSkinMenu::SetMargins(int left, int right) {
    leftMargin_ = left;
    rightMargin_ = right;
}

bool CSkinMenu::AppendItem(UINT flags, const std::string& text, UINT_PTR id, HMENU submenu,
                           int marker) {
    if (!menu_)
        return false;
    Item item{text, static_cast<int>(items_.size()) + 1, id, flags, submenu, marker, this};
    items_.push_back(item);
    const ULONG_PTR data = reinterpret_cast<ULONG_PTR>(&items_.back());
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID;
    info.fType = MFT_OWNERDRAW;
    info.dwItemData = data;
    if (flags & MF_SEPARATOR) {
        info.fType |= MFT_SEPARATOR;
        info.wID = 0;
    } else if (submenu != nullptr) {
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = submenu;
        // As for an appended popup item, the submenu handle stands as its
        // identifier, so measuring never takes it for a separator (id 0).
        info.wID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(submenu));
    } else {
        info.wID = static_cast<UINT>(id);
    }
    if (flags & MF_GRAYED) {
        info.fMask |= MIIM_STATE;
        info.fState = MFS_GRAYED;
    }
    const UINT position = static_cast<UINT>(GetMenuItemCount(menu_.Get()));
    if (!InsertMenuItemA(menu_.Get(), position, TRUE, &info)) {
        items_.pop_back();
        return false;
    }
    width_ = WidenMenu(width_, text.size(), leftMargin_, rightMargin_);
    return true;
}

BOOL CSkinMenu::Track(UINT flags, int x, int y, HWND owner) {
    if (!menu_)
        return FALSE;
    const ModalLoopScope loop;
    return TrackPopupMenu(menu_.Get(), flags, x, y, 0, owner, nullptr);
}

void CSkinMenu::Destroy() {
    menu_.Reset();
    items_.clear();
}

void CSkinMenu::MeasureItem(MEASUREITEMSTRUCT& mis) const {
    // Widths and heights are kept in 100 % pixels and measured at the scale
    // of the skin set, like the font the owner made for it.
    const ItemSize size = MeasureMenuItem(mis.itemID, itemHeight_, width_);
    mis.itemWidth = static_cast<UINT>(std::max(SkinPixels(size.width), 0));
    mis.itemHeight = static_cast<UINT>(std::max(SkinPixels(size.height), 0));
}

void CSkinMenu::DrawItem(const DRAWITEMSTRUCT& dis) const {
    HDC dc = dis.hDC;
    RECT r = dis.rcItem;
    const auto* item = reinterpret_cast<const Item*>(dis.itemData);
    const bool separator = dis.itemID == 0 || (item != nullptr && (item->flags & MF_SEPARATOR));
    if (separator) {
        const win::ScopedGdi<HBRUSH> back(CreateSolidBrush(normalBack_));
        FillRect(dc, &r, back.Get());
        const win::ScopedGdi<HPEN> pen(CreatePen(PS_SOLID, SkinPixels(1), separator_));
        const win::ScopedSelect usePen(dc, pen.Get());
        const int y = r.top + (r.bottom - r.top) / 2;
        MoveToEx(dc, r.left, y, nullptr);
        LineTo(dc, r.right, y);
    } else {
        const bool selected = (dis.itemState & ODS_SELECTED) != 0;
        const win::ScopedGdi<HBRUSH> back(CreateSolidBrush(selected ? selectedBack_ : normalBack_));
        FillRect(dc, &r, back.Get());
        COLORREF color = selected ? selectedText_ : text_;
        if (item != nullptr && item->marker == 1)
            color = kMarkedText;
        const COLORREF oldColor = SetTextColor(dc, color);
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        HGDIOBJ oldFont = font_ != nullptr ? SelectObject(dc, font_) : nullptr;
        RECT textRect = r;
        OffsetRect(&textRect, SkinPixels(2), 0);
        if (item != nullptr) {
            const std::wstring text = win::Widen(item->text, CP_UTF8);
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                      DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        }
        if (item != nullptr && item->submenu != nullptr) {
            const int side = SkinPixels(32);
            // Drawn for each scale; shared, so each scale loads once.
            HICON arrow = static_cast<HICON>(
                LoadScaledImage(kMenuArrowIcon, SkinScale(), IMAGE_ICON, LR_SHARED));
            if (arrow != nullptr) {
                DrawIconEx(dc, r.right - SkinPixels(19), r.top - SkinPixels(9), arrow, side, side,
                           0, nullptr, DI_NORMAL);
            }
        }
        SetTextColor(dc, oldColor);
        SetBkMode(dc, oldMode);
        if (oldFont != nullptr)
            SelectObject(dc, oldFont);
    }
    // Nothing of the system's drawing (the submenu arrow) goes over the item.
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
}

const CSkinMenu::Item* CSkinMenu::FindItem(ULONG_PTR data) {
    if (data == 0)
        return nullptr;
    for (const CSkinMenu* menu : LiveMenus()) {
        for (const Item& item : menu->items_) {
            if (reinterpret_cast<ULONG_PTR>(&item) == data)
                return &item;
        }
    }
    return nullptr;
}

bool CSkinMenu::RouteOwnerDraw(MEASUREITEMSTRUCT* mis) {
    if (mis == nullptr || mis->CtlType != ODT_MENU)
        return false;
    const Item* item = FindItem(mis->itemData);
    if (item == nullptr)
        return false;
    item->owner->MeasureItem(*mis);
    return true;
}

bool CSkinMenu::RouteOwnerDraw(const DRAWITEMSTRUCT* dis) {
    if (dis == nullptr || dis->CtlType != ODT_MENU)
        return false;
    const Item* item = FindItem(dis->itemData);
    if (item == nullptr)
        return false;
    item->owner->DrawItem(*dis);
    return true;
}

// ---- CCoolMenu -----------------------------------------------------------------

namespace {

struct Frame {
    HWND hwnd;
};

// Popup-menu window -> frame, 1000 buckets keyed by handle / 16.
class FrameTable {
  public:
    static constexpr std::size_t kBuckets = 1000;

    static std::size_t Bucket(HWND hwnd) {
        return static_cast<std::size_t>((reinterpret_cast<UINT_PTR>(hwnd) / 16) % kBuckets);
    }
    Frame* Add(HWND hwnd) {
        auto& bucket = buckets_[Bucket(hwnd)];
        for (auto& f : bucket)
            if (f->hwnd == hwnd)
                return f.get();
        bucket.push_back(std::make_unique<Frame>(Frame{hwnd}));
        return bucket.back().get();
    }
    void Remove(HWND hwnd) {
        auto& bucket = buckets_[Bucket(hwnd)];
        bucket.erase(
            std::remove_if(bucket.begin(), bucket.end(),
                           [&](const std::unique_ptr<Frame>& f) { return f->hwnd == hwnd; }),
            bucket.end());
    }
    std::vector<HWND> Windows() const {
        std::vector<HWND> all;
        for (const auto& bucket : buckets_)
            for (const auto& f : bucket) all.push_back(f->hwnd);
        return all;
    }
    std::size_t Count() const {
        std::size_t n = 0;
        for (const auto& bucket : buckets_) n += bucket.size();
        return n;
    }

  private:
    std::array<std::vector<std::unique_ptr<Frame>>, kBuckets> buckets_;
};

struct CoolMenuState {
    win::ScopedHook hook;
    std::unique_ptr<FrameTable> table;
    bool colorsSet = false;
    COLORREF outlineTopLeft = 0;
    COLORREF outlineBottomRight = 0;
    COLORREF innerTopLeft = 0;
    COLORREF innerBottomRight = 0;
    int subclassed = 0;
};

CoolMenuState& State() {
    static CoolMenuState state;
    if (!state.colorsSet) {
        state.outlineTopLeft = GetSysColor(COLOR_BTNSHADOW);
        state.outlineBottomRight = GetSysColor(COLOR_BTNSHADOW);
        state.innerTopLeft = GetSysColor(COLOR_MENU);
        state.innerBottomRight = GetSysColor(COLOR_MENU);
        state.colorsSet = true;
    }
    return state;
}

void Outline(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return;
    const win::ScopedGdi<HBRUSH> firstBrush(CreateSolidBrush(topLeft));
    const win::ScopedGdi<HBRUSH> secondBrush(CreateSolidBrush(bottomRight));
    const HBRUSH first = firstBrush.Get();
    const HBRUSH second = secondBrush.Get();
    RECT top{r.left, r.top, r.right - 1, r.top + 1};
    RECT left{r.left, r.top, r.left + 1, r.bottom - 1};
    RECT right{r.right - 1, r.top, r.right, r.bottom};
    RECT bottom{r.left, r.bottom - 1, r.right, r.bottom};
    FillRect(dc, &top, first);
    FillRect(dc, &left, first);
    FillRect(dc, &right, second);
    FillRect(dc, &bottom, second);
}

void DrawFrame(HWND hwnd, HDC dc) {
    const CoolMenuState& s = State();
    RECT r;
    GetWindowRect(hwnd, &r);
    OffsetRect(&r, -r.left, -r.top);
    Outline(dc, r, s.outlineTopLeft, s.outlineBottomRight);
    InflateRect(&r, -1, -1);
    Outline(dc, r, s.innerTopLeft, s.innerBottomRight);
    InflateRect(&r, -1, -1);
    Outline(dc, r, s.innerTopLeft, s.innerBottomRight);
}

WNDPROC OldProc(HWND hwnd) {
    return reinterpret_cast<WNDPROC>(GetPropA(hwnd, CCoolMenu::kOldProcProperty));
}

void Unsubclass(HWND hwnd, WNDPROC old) {
    if (old != nullptr)
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    RemovePropA(hwnd, CCoolMenu::kOldProcProperty);
    if (State().table)
        State().table->Remove(hwnd);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const WNDPROC old = OldProc(hwnd);
    if (old == nullptr)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_SHOWWINDOW:
            if (!wParam)
                Unsubclass(hwnd, old);
            return CallWindowProcA(old, hwnd, msg, wParam, lParam);
        case WM_NCDESTROY:
            Unsubclass(hwnd, old);
            return CallWindowProcA(old, hwnd, msg, wParam, lParam);
        case WM_NCPAINT: {
            const win::ScopedWindowDc dc(hwnd, win::DcArea::Window);
            if (dc.Get() != nullptr)
                DrawFrame(hwnd, dc.Get());
            return 0;
        }
        case WM_PAINT: {
            // Some systems draw the popup's border inside its client area
            // while painting; the flat frame goes over it afterwards.
            const LRESULT result = CallWindowProcA(old, hwnd, msg, wParam, lParam);
            const win::ScopedWindowDc dc(hwnd, win::DcArea::Window);
            if (dc.Get() != nullptr)
                DrawFrame(hwnd, dc.Get());
            return result;
        }
        case WM_PRINT: {
            const LRESULT result = CallWindowProcA(old, hwnd, msg, wParam, lParam);
            DrawFrame(hwnd, reinterpret_cast<HDC>(wParam));
            return result;
        }
        default:
            // WM_NCCALCSIZE included: the border keeps its system width.
            return CallWindowProcA(old, hwnd, msg, wParam, lParam);
    }
}

LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam) {
    CoolMenuState& s = State();
    if (code == HC_ACTION) {
        const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (cwp != nullptr &&
            (cwp->message == WM_CREATE || cwp->message == CCoolMenu::kMenuSizeMessage)) {
            char className[10] = {};
            const int length = GetClassNameA(cwp->hwnd, className, sizeof className);
            if (length == 6 && std::strcmp(className, "#32768") == 0 &&
                GetPropA(cwp->hwnd, CCoolMenu::kOldProcProperty) == nullptr && s.table) {
                s.table->Add(cwp->hwnd);
                const LONG_PTR old = GetWindowLongPtrA(cwp->hwnd, GWLP_WNDPROC);
                SetPropA(cwp->hwnd, CCoolMenu::kOldProcProperty, reinterpret_cast<HANDLE>(old));
                if (SetWindowLongPtrA(cwp->hwnd, GWLP_WNDPROC,
                                      reinterpret_cast<LONG_PTR>(&FrameProc)) == 0) {
                    RemovePropA(cwp->hwnd, CCoolMenu::kOldProcProperty);
                    s.table->Remove(cwp->hwnd);
                } else {
                    ++s.subclassed;
                }
            }
        }
    }
    return CallNextHookEx(s.hook.Get(), code, wParam, lParam);
}

}  // namespace

HHOOK CCoolMenu::Install() {
    CoolMenuState& s = State();
    if (s.hook)
        return s.hook.Get();
    s.table = std::make_unique<FrameTable>();
    s.hook.Reset(SetWindowsHookExA(WH_CALLWNDPROC, &HookProc, nullptr, GetCurrentThreadId()));
    if (!s.hook)
        s.table.reset();
    return s.hook.Get();
}

void CCoolMenu::Uninstall() {
    CoolMenuState& s = State();
    if (s.table) {
        for (HWND hwnd : s.table->Windows()) {
            if (IsWindow(hwnd))
                Unsubclass(hwnd, OldProc(hwnd));
        }
        s.table.reset();
    }
    s.hook.Reset();
}

void CCoolMenu::SetColors(COLORREF outlineTopLeft, COLORREF outlineBottomRight,
                          COLORREF innerTopLeft, COLORREF innerBottomRight) {
    CoolMenuState& s = State();
    s.outlineTopLeft = outlineTopLeft;
    s.outlineBottomRight = outlineBottomRight;
    s.innerTopLeft = innerTopLeft;
    s.innerBottomRight = innerBottomRight;
}

int CCoolMenu::SubclassCount() {
    return State().subclassed;
}

std::size_t CCoolMenu::FrameCount() {
    const CoolMenuState& s = State();
    return s.table ? s.table->Count() : 0;
}

}  // namespace skin
