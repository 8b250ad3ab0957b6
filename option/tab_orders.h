// The order in which Tab walks the controls of each of Option's windows, in
// reading order, as control ids. One table per window; the windows hand them
// to the keyboard walk (option/skin/keyboard_nav_win.h), which skips the
// controls that are hidden or disabled at the time. Pictures that only show
// something (swatches, previews) are not in them. Runs marked
// as groups (skin::GroupStart .. skin::kGroupEnd) are walked by the arrows.
#pragma once

#include <array>
#include <span>

#include "option/dialogs/dialog_parts_win.h"
#include "option/dialogs/macro_manager_dlg_win.h"
#include "option/dialogs/warning_dlg_win.h"
#include "option/model/dialogs/dpi_color_fields.h"
#include "option/pages/page_host.h"
#include "option/skin/control_math.h"

namespace option::tab_order {

// In the main window's order: where the shown page's own order comes in.
inline constexpr int kShownPage = -1;

// Main window (keys of skin_config.ini): the profile selectors, the page
// selectors, the page, OK, Apply and Cancel; then the profile and file
// buttons of the left column, the web link, the reset and the window's own
// minimise and close buttons.
// The profile selectors and the page selectors are each a group.
inline constexpr std::array kMainWindow{
    skin::GroupStart(), ControlId(5),    ControlId(6),       ControlId(7),  ControlId(8),
    ControlId(9),       skin::kGroupEnd, skin::GroupStart(), ControlId(25), ControlId(26),
    ControlId(27),      ControlId(28),   skin::kGroupEnd,    kShownPage,    ControlId(12),
    ControlId(13),      ControlId(14),   ControlId(44),      ControlId(4),  ControlId(2),
    ControlId(3),       ControlId(45),   ControlId(46),      ControlId(30), ControlId(31),
    ControlId(10),      ControlId(11)};

// Button assignment page: the assignment buttons row by row, left to right
// (button ids 30001 + key - 1 of skin_main_control.ini).
constexpr int AssignButton(int key) {
    return 30000 + key;
}
inline constexpr std::array kButtonPage{
    AssignButton(1),  AssignButton(2),  AssignButton(3),  AssignButton(12),
    AssignButton(4),  AssignButton(13), AssignButton(5),  AssignButton(14),
    AssignButton(11), AssignButton(15), AssignButton(6),  AssignButton(7),
    AssignButton(8),  AssignButton(9),  AssignButton(10), AssignButton(16)};

// Lighting page (skin_color_control.ini; sliders by their ids 200..204): the
// left column (light on, switch levels and slider, type levels and slider),
// then the right one (preset and custom, the preset colour grid row by row,
// the colour spectrum, the red, green and blue sliders).
inline constexpr int kColorGridColumns = 11;
inline constexpr std::array kLightingPage{ControlId(1),
                                          skin::GroupStart(),
                                          ControlId(2),
                                          ControlId(3),
                                          ControlId(4),
                                          ControlId(5),
                                          skin::kGroupEnd,
                                          200,
                                          skin::GroupStart(),
                                          ControlId(6),
                                          ControlId(7),
                                          ControlId(8),
                                          ControlId(9),
                                          skin::kGroupEnd,
                                          201,
                                          skin::GroupStart(),
                                          ControlId(10),
                                          ControlId(11),
                                          skin::kGroupEnd,
                                          skin::GroupStart(kColorGridColumns),
                                          ControlId(12),
                                          ControlId(13),
                                          ControlId(14),
                                          ControlId(15),
                                          ControlId(16),
                                          ControlId(17),
                                          ControlId(18),
                                          ControlId(19),
                                          ControlId(20),
                                          ControlId(21),
                                          ControlId(22),
                                          ControlId(23),
                                          ControlId(24),
                                          ControlId(25),
                                          ControlId(26),
                                          ControlId(27),
                                          ControlId(28),
                                          ControlId(29),
                                          ControlId(30),
                                          ControlId(31),
                                          ControlId(32),
                                          ControlId(33),
                                          ControlId(34),
                                          ControlId(35),
                                          ControlId(36),
                                          ControlId(37),
                                          ControlId(38),
                                          ControlId(39),
                                          ControlId(40),
                                          ControlId(41),
                                          ControlId(42),
                                          ControlId(43),
                                          ControlId(44),
                                          skin::kGroupEnd,
                                          ControlId(53),
                                          202,
                                          203,
                                          204};

// Advanced settings page (skin_advance_expand.ini; sliders by their ids
// 201..208): the left column (report rate, CPI levels, LED colours, CPI X
// and Y, separate CPI, sensitivity X and Y, linked sensitivity), the right
// one (pointer speed, acceleration, trails and their length, wheel choices
// and lines, auto-repeat pace), then restore defaults.
// The report rates, the CPI levels, the LED colours and the wheel choices
// are each a group.
inline constexpr std::array kAdvancedPage{skin::GroupStart(),
                                          ControlId(1),
                                          ControlId(2),
                                          ControlId(3),
                                          ControlId(4),
                                          skin::kGroupEnd,
                                          skin::GroupStart(),
                                          ControlId(5),
                                          ControlId(6),
                                          ControlId(7),
                                          ControlId(8),
                                          skin::kGroupEnd,
                                          skin::GroupStart(),
                                          ControlId(9),
                                          ControlId(10),
                                          ControlId(11),
                                          ControlId(12),
                                          skin::kGroupEnd,
                                          207,
                                          208,
                                          ControlId(17),
                                          202,
                                          203,
                                          ControlId(20),
                                          204,
                                          ControlId(22),
                                          ControlId(24),
                                          206,
                                          skin::GroupStart(),
                                          ControlId(25),
                                          ControlId(26),
                                          skin::kGroupEnd,
                                          205,
                                          ControlId(28),
                                          201,
                                          ControlId(30)};

// Support page: the manual button, the diagnostics report button.
inline constexpr std::array kSupportPage{ControlId(1), ControlId(2)};

// The pages' tables by page index (buttons, lighting, advanced, support).
inline constexpr std::array<std::span<const int>, 4> kPages{kButtonPage, kLightingPage,
                                                            kAdvancedPage, kSupportPage};

// The dialogs: their fields and choices in reading order, then OK, Cancel
// and the close button.
constexpr int Field(int n) {
    return static_cast<int>(PlateFieldId(n));
}
constexpr int DialogButton(int key) {
    return static_cast<int>(DialogButtonId(key));
}

// Repeated key (skin_fire_button.ini): the key, the count, the interval.
inline constexpr std::array kFireDialog{Field(0),        Field(2),        Field(1),
                                        DialogButton(1), DialogButton(2), DialogButton(3)};

// Program to launch (skin_lanuch_program.ini): the path and Browse.
inline constexpr std::array kLaunchProgramDialog{Field(0), DialogButton(2), DialogButton(3),
                                                 DialogButton(4), DialogButton(5)};

// Media player (skin_select_player.ini): the player selector.
inline constexpr std::array kPlayerDialog{DialogButton(1), DialogButton(2), DialogButton(3),
                                          DialogButton(4)};

// Shortcut (skin_shortcut.ini): the key, then the five modifiers left to
// right (a group).
inline constexpr std::array kShortcutDialog{Field(0),        skin::GroupStart(), DialogButton(5),
                                            DialogButton(6), DialogButton(7),    DialogButton(8),
                                            DialogButton(9), skin::kGroupEnd,    DialogButton(2),
                                            DialogButton(3), DialogButton(4)};

// Profile (skin_profile.ini): the name, the game program and Browse, back to
// the previous profile when the game ends.
inline constexpr std::array kProfileDialog{Field(0),        Field(1),        DialogButton(3),
                                           DialogButton(7), DialogButton(4), DialogButton(5),
                                           DialogButton(6)};

// Colour of a CPI level (skin_dpi_color.ini; controls 1000 + key): the
// spectrum, red, green and blue.
inline constexpr std::array kDpiColorDialog{ControlId(4), kSpinRed,     kSpinRed + 1, kSpinRed + 2,
                                            ControlId(1), ControlId(2), ControlId(5)};

// The warnings (OK, Cancel, close).
inline constexpr std::array kWarningDialog{static_cast<int>(kWarningOkId),
                                           static_cast<int>(kWarningCancelId),
                                           static_cast<int>(kWarningCloseId)};

// Macro manager (skin_macro_manager.ini): the macro list, the event list,
// record, the pause and repeat choices with the count, new and delete.
constexpr int MacroControl(int key) {
    return static_cast<int>(CMacroManagerDlg::ControlIdOf(key));
}
inline constexpr std::array kMacroManager{static_cast<int>(CMacroManagerDlg::kMacroListId),
                                          static_cast<int>(CMacroManagerDlg::kEventListId),
                                          MacroControl(7),
                                          MacroControl(8),
                                          MacroControl(9),
                                          static_cast<int>(CMacroManagerDlg::kRepeatEditId),
                                          MacroControl(4),
                                          MacroControl(5),
                                          MacroControl(1),
                                          MacroControl(2),
                                          MacroControl(3)};

// A group left open, or one opened inside another, would leave its controls
// without arrows: every table closes each group before the next one opens.
constexpr bool GroupsClosed(std::span<const int> table) {
    bool inside = false;
    for (int entry : table) {
        if (entry < skin::kGroupEnd) {
            if (inside)
                return false;
            inside = true;
        } else if (entry == skin::kGroupEnd) {
            if (!inside)
                return false;
            inside = false;
        }
    }
    return !inside;
}
static_assert(GroupsClosed(kMainWindow) && GroupsClosed(kButtonPage) &&
              GroupsClosed(kLightingPage) && GroupsClosed(kAdvancedPage) &&
              GroupsClosed(kSupportPage) && GroupsClosed(kFireDialog) &&
              GroupsClosed(kLaunchProgramDialog) && GroupsClosed(kPlayerDialog) &&
              GroupsClosed(kShortcutDialog) && GroupsClosed(kProfileDialog) &&
              GroupsClosed(kDpiColorDialog) && GroupsClosed(kWarningDialog) &&
              GroupsClosed(kMacroManager));

}  // namespace option::tab_order
