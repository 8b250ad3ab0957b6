// The button assignment menu on screen: the menu model turned into skinned
// owner-drawn popup menus (colours, widths and font of the page) and tracked.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "common/win/scoped_win.h"
#include "option/model/pages/assignment_menu.h"
#include "option/model/pages/button_captions.h"
#include "option/skin/skin_menu_win.h"

namespace option {

class SkinnedAssignmentMenu {
  public:
    SkinnedAssignmentMenu(const AssignmentMenu& model, const StringSource& strings);
    ~SkinnedAssignmentMenu();
    SkinnedAssignmentMenu(const SkinnedAssignmentMenu&) = delete;
    SkinnedAssignmentMenu& operator=(const SkinnedAssignmentMenu&) = delete;

    // Shows the menu with its top-left corner at `at` (screen) until the user
    // chooses or cancels; the chosen command reaches `owner` as WM_COMMAND.
    // `owner` hands WM_MEASUREITEM and WM_DRAWITEM to CSkinMenu::RouteOwnerDraw.
    void Track(HWND owner, POINT at);

    HMENU Handle() const { return top_ != nullptr ? top_->Handle() : nullptr; }

  private:
    skin::CSkinMenu* Build(const std::vector<MenuItem>& items, int width, bool top,
                           const StringSource& strings);

    win::ScopedGdi<HFONT> font_;
    // Each menu destroys its own handle once the submenus are taken out of
    // their parents (destroying a parent would destroy them as well).
    std::vector<std::unique_ptr<skin::CSkinMenu>> menus_;
    skin::CSkinMenu* top_ = nullptr;
};

// The frame colours every popup menu of the page gets (process-wide).
void SetAssignmentMenuFrame();

}  // namespace option
