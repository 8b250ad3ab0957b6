// Owner-drawn popup menus and the flat frame of every popup-menu window of
// the user-interface thread.
#pragma once

#include <windows.h>

#include <array>
#include <list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/win/scoped_win.h"

namespace skin {

inline constexpr UINT kMenuArrowIcon = 145;

class CSkinMenu {
  public:
    struct Item {
        std::string text;
        int position;        // items before it plus one
        UINT_PTR flagsOrId;  // the identifier (or submenu handle) as passed in
        UINT flags;
        HMENU submenu;
        int marker;  // 1: drawn in the marked colour
        CSkinMenu* owner;
    };

    explicit CSkinMenu(HFONT font);
    ~CSkinMenu();
    CSkinMenu(const CSkinMenu&) = delete;
    CSkinMenu& operator=(const CSkinMenu&) = delete;

    // A new empty popup menu (an earlier one is destroyed).
    bool Attach();
    void SetColors(COLORREF normalBack, COLORREF selectedBack);
    void SetSeparatorColors(COLORREF first, COLORREF second);
    void SetTextColors(COLORREF normal, COLORREF selected);
    void SetWidth(int pixels) { width_ = pixels; }
    void SetMargins(int left, int right);
    void SetItemHeight(int height) { itemHeight_ = height; }

    // Separator with MF_SEPARATOR; submenu item when `submenu` is given;
    // otherwise a command item with `id`.
    bool AppendItem(UINT flags, const std::string& text, UINT_PTR id, HMENU submenu = nullptr,
                    int marker = 0);
    // Shows the menu; the owner gets the command of the chosen item (and must
    // hand WM_MEASUREITEM / WM_DRAWITEM to RouteOwnerDraw).
    BOOL Track(UINT flags, int x, int y, HWND owner);
    void Destroy();

    HMENU Handle() const { return menu_.Get(); }
    int Width() const { return width_; }
    const std::list<Item>& Items() const { return items_; }

    void MeasureItem(MEASUREITEMSTRUCT& mis) const;
    void DrawItem(const DRAWITEMSTRUCT& dis) const;

    // For an owner window's WM_MEASUREITEM and WM_DRAWITEM: handles the
    // items of live CSkinMenu objects, false for anything else.
    static bool RouteOwnerDraw(MEASUREITEMSTRUCT* mis);
    static bool RouteOwnerDraw(const DRAWITEMSTRUCT* dis);

    static constexpr COLORREF kMarkedText = RGB(68, 191, 255);

  private:
    static const Item* FindItem(ULONG_PTR data);

    win::ScopedMenu menu_;
    int itemHeight_ = 16;
    HFONT font_;
    COLORREF normalBack_ = RGB(0, 0, 0);
    COLORREF selectedBack_ = RGB(6, 107, 149);
    COLORREF separator_ = RGB(6, 107, 149);
    COLORREF separator2_ = RGB(6, 107, 149);
    COLORREF text_ = RGB(255, 255, 255);
    COLORREF selectedText_ = RGB(255, 255, 255);
    int width_ = 0;
    int leftMargin_ = 0;
    int rightMargin_ = 0;
    std::list<Item> items_;
};

class CCoolMenu {
  public:
    // Installs the call-window-procedure hook of this thread once; a second
    // call returns the installed hook.
    static HHOOK Install();
    // Restores every subclassed menu window, frees the table, removes the hook.
    static void Uninstall();

    static void SetColors(COLORREF outlineTopLeft, COLORREF outlineBottomRight,
                          COLORREF innerTopLeft, COLORREF innerBottomRight);
    // How many popup-menu windows were subclassed since start (for checks).
    static int SubclassCount();
    static std::size_t FrameCount();

    static constexpr const char* kOldProcProperty = "CoolMenu_oldProc";
    static constexpr UINT kMenuSizeMessage = 482;
};

}  // namespace skin
