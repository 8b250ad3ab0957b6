// The popup menu of the button assignment page as data: the Win32 side turns
// it into skinned menus, tests read it item by item.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "common/settings/settings_block.h"

namespace option {

// Commands of the menu beside the plain action commands.
namespace command {
inline constexpr unsigned kLeftClick = 1001;
inline constexpr unsigned kShortcut = 1005;
inline constexpr unsigned kLaunchProgram = 1017;
inline constexpr unsigned kFire = 1021;
inline constexpr unsigned kMediaPlayer = 1098;
inline constexpr unsigned kMacroManager = 1099;
inline constexpr unsigned kFirstMacro = 1100;  // + index in the macro store
inline constexpr unsigned kLastAssignment = 4000;
}  // namespace command

inline constexpr int kMenuWidth = 133;
inline constexpr int kEditingMenuWidth = 129;

struct MenuItem {
    enum class Kind { Command, Submenu, Separator };
    Kind kind = Kind::Command;
    unsigned textId = 0;  // lan.dll string; 0 when `text` is the item's text
    std::string text;     // a macro's name
    unsigned command = 0;
    bool checkable = false;  // only macro items carry a check state
    bool checked = false;
    std::vector<MenuItem> items;  // a submenu's items
    int width = kMenuWidth;       // of a submenu
};

struct AssignmentMenu {
    std::vector<MenuItem> items;
    int width = kMenuWidth;
};

// The menu for entry 0..15 of the current profile. `macroNames` are the macro
// store's names in store order; an empty store shows none.
AssignmentMenu BuildAssignmentMenu(int entry, const settings::ButtonAssignment& info,
                                   std::span<const std::string> macroNames);

// Does the entry hold the macro of this store name? Compared without case,
// against the name as the entry's field can hold it.
bool HoldsMacro(const settings::ButtonAssignment& info, const std::string& storeName);

}  // namespace option
