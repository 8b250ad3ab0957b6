// Resource numbers of Option.exe and the control ids of its main window.
#pragma once

#define IDD_OPTION_DIALOG 102
#define IDR_OPTION_ICON 128
#define IDD_OPTION_PAGE 131
// Every skinned modal dialog (warnings, the macro manager, the pages' dialogs).
#define IDD_SKIN_DIALOG 132

// A control of key k of skin_config.ini has the id 1000 + k; the dialog's
// own IDOK and IDCANCEL (Enter and Esc) stay apart from them.
#define IDC_CONFIG_KEY_BASE 1000

// Pending-Apply watch: is Monitor still there to answer?
#define IDT_MONITOR_WATCH 1
