#include "option/model/pages/assignment_menu.h"

#include <cctype>
#include <cstring>
#include <utility>

#include "common/utf8_text.h"
#include "lan/string_ids.h"
#include "option/model/dialogs/macro_record.h"

namespace option {

namespace {

MenuItem Item(unsigned command, unsigned textId) {
    MenuItem item;
    item.command = command;
    item.textId = textId;
    return item;
}

MenuItem Submenu(unsigned textId, std::vector<MenuItem> items, int width = kMenuWidth) {
    MenuItem item;
    item.kind = MenuItem::Kind::Submenu;
    item.textId = textId;
    item.items = std::move(items);
    item.width = width;
    return item;
}

// Commands first.. with consecutive texts from firstText.
void AddRun(std::vector<MenuItem>& items, unsigned firstCommand, unsigned count,
            unsigned firstText) {
    for (unsigned i = 0; i < count; ++i) items.push_back(Item(firstCommand + i, firstText + i));
}

MenuItem MacroSubmenu(const settings::ButtonAssignment& info,
                      std::span<const std::string> macroNames) {
    std::vector<MenuItem> items{Item(command::kMacroManager, lan::kMacroManager)};
    if (!macroNames.empty()) {
        MenuItem separator;
        separator.kind = MenuItem::Kind::Separator;
        items.push_back(separator);
    }
    for (std::size_t k = 0; k < macroNames.size(); ++k) {
        MenuItem macro = Item(command::kFirstMacro + static_cast<unsigned>(k), 0);
        macro.text = TrimBlanks(macroNames[k]);
        macro.checkable = true;
        macro.checked = HoldsMacro(info, macroNames[k]);
        items.push_back(std::move(macro));
    }
    return Submenu(lan::kMacroMenu, std::move(items));
}

// The two buttons that switch profiles on the mouse itself.
bool IsProfileButton(int entry) {
    return entry == 13 || entry == 14;
}

}  // namespace

bool HoldsMacro(const settings::ButtonAssignment& info, const std::string& storeName) {
    if (info.actionCode != settings::action::kMacro)
        return false;
    // A store name longer than the field was stored cut to fit, on a
    // character boundary.
    const std::string stored =
        storeName.substr(0, text::Utf8FitLength(storeName, sizeof info.macroName - 1));
    const std::size_t held = strnlen(info.macroName, sizeof info.macroName);
    if (held != stored.size())
        return false;
    for (std::size_t i = 0; i < held; ++i) {
        if (std::tolower(static_cast<unsigned char>(info.macroName[i])) !=
            std::tolower(static_cast<unsigned char>(stored[i])))
            return false;
    }
    return true;
}

AssignmentMenu BuildAssignmentMenu(int entry, const settings::ButtonAssignment& info,
                                   std::span<const std::string> macroNames) {
    AssignmentMenu menu;
    auto& top = menu.items;
    top.push_back(MacroSubmenu(info, macroNames));

    std::vector<MenuItem> media;
    AddRun(media, 1025, 8, lan::kFirstMediaAction);
    top.push_back(Submenu(lan::kMultimediaMenu, std::move(media)));

    std::vector<MenuItem> profiles;
    AddRun(profiles, 1013, 3, lan::kProfileCycle);
    top.push_back(Submenu(lan::kProfileMenu, std::move(profiles)));

    std::vector<MenuItem> editing;
    AddRun(editing, 1050, 8, lan::kFirstShortcutAction);
    editing.push_back(Item(1059, lan::kFirstShortcutAction + 9));
    editing.push_back(Item(1060, lan::kFirstShortcutAction + 10));
    top.push_back(Submenu(lan::kEditingMenu, std::move(editing), kEditingMenuWidth));

    top.push_back(Submenu(lan::kWindowsMenu, {
                                                 Item(1039, lan::kFirstSystemAction + 6),
                                                 Item(1041, lan::kFirstSystemAction + 8),
                                                 Item(1061, lan::kFirstWindowAction),
                                                 Item(1062, lan::kFirstWindowAction + 1),
                                                 Item(1064, lan::kFirstWindowAction + 3),
                                                 Item(1065, lan::kFirstWindowAction + 4),
                                                 Item(1066, lan::kFirstWindowAction + 5),
                                                 Item(1067, lan::kFirstWindowAction + 6),
                                             }));

    for (const MenuItem& item :
         {Item(command::kLeftClick, lan::kLeftClick), Item(1002, lan::kRightClick),
          Item(1003, lan::kMiddleClick), Item(1007, lan::kBack), Item(1008, lan::kForward),
          Item(1004, lan::kDoubleClick), Item(1093, lan::kTripleClick),
          Item(command::kFire, lan::kFire)})
        top.push_back(item);
    // The two profile buttons are offered the DPI steps instead of a shortcut.
    if (!IsProfileButton(entry))
        top.push_back(Item(command::kShortcut, lan::kShortcut));
    top.push_back(Item(1006, lan::kDisable));
    if (IsProfileButton(entry)) {
        top.push_back(Item(1009, lan::kDpiUp));
        top.push_back(Item(1010, lan::kDpiDown));
    }
    // Monitor starts programs and drives media players, so both are offered.
    top.push_back(Item(command::kLaunchProgram, lan::kLaunchProgramItem));
    top.push_back(Item(command::kMediaPlayer, lan::kMediaPlayerItem));
    return menu;
}

}  // namespace option
