// Resource numbers of the pictures the skinned controls carry in the program.
#pragma once

#define IDB_SKIN_COLOR_STRIP 152
#define IDB_SKIN_COLOR_MARKER 153
#define IDI_SKIN_MENU_ARROW 145

// Pictures built into the program exist once per skin set scale: the one for
// the k-th scale of the sets (100, 125, 150, 175, 200 %) has the number of the
// 100 % picture plus k steps (skin::ScaledResourceId).
#define SCALED_RESOURCE_STEP 1000
