// Resource numbers of the pictures the skinned controls carry in the program.
#pragma once

#define IDB_SKIN_COLOR_STRIP 152
#define IDB_SKIN_COLOR_MARKER 153
#define IDI_SKIN_MENU_ARROW 145
