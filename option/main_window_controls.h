// The main window's controls (keys of skin_config.ini), made in this order.
// Tab walks the profile selectors, the page selectors, the shown page, OK,
// Apply and Cancel; then the profile and file buttons of the left column,
// the web link, the reset and the window's own minimise and close buttons.
// The profile selectors and the page selectors are each a group.
#pragma once

#include "option/control_row_runs.h"
#include "option/pages/page_host.h"
#include "option/skin/control_table.h"

namespace option {

// Keys of skin_config.ini that name a control.
enum ConfigKey : int {
    kKeyImport = 2,
    kKeyExport = 3,
    kKeyEditProfile = 4,
    kKeyProfile1 = 5,  // .. kKeyProfile1 + 4: profiles 0..4
    kKeyMinimize = 10,
    kKeyClose = 11,
    kKeyOk = 12,
    kKeyApply = 13,
    kKeyCancel = 14,
    kKeyHint1 = 15,  // .. 19
    kKeyPage1 = 25,  // .. 28
    kKeyEmblem = 29,
    kKeyWeb = 30,
    kKeyReset = 31,
    kKeyPageArea = 42,
    kKeyProfileName = 43,
    kKeyNewProfile = 44,
    kKeyExportAll = 45,
    kKeyImportAll = 46,
};
inline constexpr int kPageCount = 4;

// In the main window's walk: where the shown page's own walk comes in.
inline constexpr int kShownPage = -1;

namespace main_window {

using Kind = skin::ControlKind;

inline constexpr auto kControls =
    JoinControlRows(Rows({
                        {ControlId(kKeyImport), kKeyImport, Kind::Button, 16},
                        {ControlId(kKeyExport), kKeyExport, Kind::Button, 17},
                        {ControlId(kKeyEditProfile), kKeyEditProfile, Kind::Button, 15},
                    }),
                    RowRun<5>(ControlId(kKeyProfile1), kKeyProfile1, Kind::ShapedSelector, 1, 1),
                    Rows({
                        {ControlId(kKeyMinimize), kKeyMinimize, Kind::Button, 22},
                        {ControlId(kKeyClose), kKeyClose, Kind::Button, 23},
                        {ControlId(kKeyOk), kKeyOk, Kind::Button, 11},
                        {ControlId(kKeyApply), kKeyApply, Kind::Button, 12},
                        {ControlId(kKeyCancel), kKeyCancel, Kind::Button, 13},
                    }),
                    RowRun<5>(ControlId(kKeyHint1), kKeyHint1, Kind::Hint),
                    RowRun<kPageCount>(ControlId(kKeyPage1), kKeyPage1, Kind::PageTab, 6, 2),
                    Rows({
                        {ControlId(kKeyEmblem), kKeyEmblem, Kind::Button},
                        {ControlId(kKeyWeb), kKeyWeb, Kind::Button, 20},
                        {ControlId(kKeyReset), kKeyReset, Kind::Button, 21},
                        {ControlId(kKeyPageArea), kKeyPageArea, Kind::Area},
                        {ControlId(kKeyProfileName), kKeyProfileName, Kind::Label},
                        {ControlId(kKeyNewProfile), kKeyNewProfile, Kind::Button, 14},
                        {ControlId(kKeyExportAll), kKeyExportAll, Kind::Button, 18},
                        {ControlId(kKeyImportAll), kKeyImportAll, Kind::Button, 19},
                        {kShownPage, skin::kNoSkinKey, Kind::ShownPage, 10},
                    }));

}  // namespace main_window
}  // namespace option
