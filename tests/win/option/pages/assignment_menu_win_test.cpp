// The assignment menu model as the system menus the page shows: order,
// submenus, the checked macro, and the fixed widths whatever the texts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "option/pages/assignment_menu_win.h"
#include "option/model/pages/assignment_menu.h"

namespace {

using option::AssignmentMenu;
using option::SkinnedAssignmentMenu;

// Texts far longer than the menus are wide, so that a width that follows
// the texts shows.
class LongTexts final : public option::StringSource {
  public:
    std::string Text(unsigned id) const override {
        return "A rather long menu text " + std::to_string(id);
    }
};

ULONG_PTR ItemData(HMENU menu, int position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    EXPECT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info));
    return info.dwItemData;
}

// The width the system is told when it measures the item.
UINT MeasuredWidth(HMENU menu, int position) {
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = GetMenuItemID(menu, position);
    mis.itemData = ItemData(menu, position);
    EXPECT_TRUE(skin::CSkinMenu::RouteOwnerDraw(&mis)) << position;
    return mis.itemWidth;
}

TEST(SkinnedAssignmentMenu, FollowsTheModelWithFixedWidthsAndTheCheckedMacro) {
    settings::ButtonAssignment info{};
    info.actionCode = settings::action::kMacro;
    std::strcpy(info.macroName, "  FAST ");  // as the store names it, in other case
    const std::vector<std::string> names{"  fast ", "slow"};
    const AssignmentMenu model = option::BuildAssignmentMenu(2, info, names);
    HMENU top = nullptr;
    std::vector<HMENU> subs;
    {
        SkinnedAssignmentMenu menu(model, LongTexts());
        top = menu.Handle();
        ASSERT_TRUE(IsMenu(top));
        ASSERT_EQ(GetMenuItemCount(top), static_cast<int>(model.items.size()));
        for (int i = 0; i < GetMenuItemCount(top); ++i) {
            const option::MenuItem& item = model.items[static_cast<std::size_t>(i)];
            HMENU sub = GetSubMenu(top, i);
            EXPECT_EQ(sub != nullptr, item.kind == option::MenuItem::Kind::Submenu) << i;
            if (sub == nullptr) {
                EXPECT_EQ(GetMenuItemID(top, i), item.command) << i;
                continue;
            }
            subs.push_back(sub);
            ASSERT_EQ(GetMenuItemCount(sub), static_cast<int>(item.items.size())) << i;
            EXPECT_EQ(MeasuredWidth(sub, 0), static_cast<UINT>(item.width)) << i;
        }
        EXPECT_EQ(MeasuredWidth(top, 0), 133u);
        ASSERT_EQ(subs.size(), 5u);
        EXPECT_EQ(MeasuredWidth(subs[3], 0), 129u) << "the editing submenu is narrower";

        // Macro submenu: manager, separator, then the store's macros; the
        // button's own macro is checked and drawn marked.
        HMENU macros = subs[0];
        ASSERT_EQ(GetMenuItemCount(macros), 4);
        EXPECT_EQ(GetMenuItemID(macros, 0), option::command::kMacroManager);
        EXPECT_TRUE(GetMenuState(macros, 1, MF_BYPOSITION) & MF_SEPARATOR);
        EXPECT_TRUE(GetMenuState(macros, option::command::kFirstMacro, MF_BYCOMMAND) & MF_CHECKED);
        EXPECT_FALSE(GetMenuState(macros, option::command::kFirstMacro + 1, MF_BYCOMMAND) &
                     MF_CHECKED);
        const auto* fast = reinterpret_cast<const skin::CSkinMenu::Item*>(ItemData(macros, 2));
        ASSERT_NE(fast, nullptr);
        EXPECT_EQ(fast->text, "fast");
        EXPECT_EQ(fast->marker, 1);
    }
    // Every menu is gone with the object, each destroyed once.
    EXPECT_FALSE(IsMenu(top));
    for (HMENU sub : subs) EXPECT_FALSE(IsMenu(sub));
}

}  // namespace
