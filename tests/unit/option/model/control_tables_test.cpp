// Every window's control table holds together: each id and each skin key
// once, the tab places 1..n, and each arrow group one run of the walk.
#include <gtest/gtest.h>

#include <span>

#include "option/dialogs/dpi_color_dlg_controls.h"
#include "option/dialogs/fire_dlg_controls.h"
#include "option/dialogs/launch_program_dlg_controls.h"
#include "option/dialogs/macro_manager_controls.h"
#include "option/dialogs/player_dlg_controls.h"
#include "option/dialogs/profile_dlg_controls.h"
#include "option/dialogs/shortcut_dlg_controls.h"
#include "option/dialogs/warning_dlg_controls.h"
#include "option/main_window_controls.h"
#include "option/pages/advanced_page_controls.h"
#include "option/pages/button_page_controls.h"
#include "option/pages/lighting_page_controls.h"
#include "option/pages/support_page_controls.h"
#include "option/skin/control_math.h"

namespace {

struct NamedTable {
    const char* name;
    std::span<const skin::ControlRow> controls;
};

constexpr NamedTable kTables[] = {
    {"main window", option::main_window::kControls},
    {"button page", option::button_page::kControls},
    {"lighting page", option::lighting_page::kControls},
    {"advanced page", option::advanced_page::kControls},
    {"support page", option::support_page::kControls},
    {"fire dialog", option::fire_dialog::kControls},
    {"launch program dialog", option::launch_program_dialog::kControls},
    {"player dialog", option::player_dialog::kControls},
    {"shortcut dialog", option::shortcut_dialog::kControls},
    {"profile dialog", option::profile_dialog::kControls},
    {"dpi colour dialog", option::dpi_color_dialog::kControls},
    {"warning dialog", option::warning_dialog::kControls},
    {"macro manager", option::macro_manager::kControls},
};

TEST(ControlTables, EveryTableIsConsistent) {
    for (const NamedTable& table : kTables)
        EXPECT_EQ(skin::CheckControlTable(table.controls), skin::TableFault::None) << table.name;
}

// The walk the keyboard takes: ids in tab order, each group between its
// marks; and the faults the check above exists to catch.
TEST(ControlTables, WalkAndFaultsOfASmallTable) {
    using Kind = skin::ControlKind;
    const skin::ControlRow rows[] = {
        {10, 1, Kind::Button, 3},
        {11, 2, Kind::Button, 1, 1, 2},
        {12, 3, Kind::Button, 2, 1, 2},
        {13, 4, Kind::Area},
    };
    EXPECT_EQ(skin::TabWalk(rows),
              (std::vector<int>{skin::GroupStart(2), 11, 12, skin::kGroupEnd, 10}));

    skin::ControlRow faulty[] = {
        {10, 1, Kind::Button, 1, 1}, {11, 2, Kind::Button, 2}, {12, 3, Kind::Button, 3, 1}};
    EXPECT_EQ(skin::CheckControlTable(faulty), skin::TableFault::GroupSplit);
    faulty[2].group = 0;
    faulty[1].tab = 4;
    EXPECT_EQ(skin::CheckControlTable(faulty), skin::TableFault::TabPlacesNotAPermutation);
    faulty[1].tab = 2;
    faulty[2].key = 1;
    EXPECT_EQ(skin::CheckControlTable(faulty), skin::TableFault::RepeatedKey);
    faulty[2].id = 10;
    EXPECT_EQ(skin::CheckControlTable(faulty), skin::TableFault::RepeatedId);
}

}  // namespace
