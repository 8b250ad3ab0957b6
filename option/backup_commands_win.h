// "Export all" and "Import all" of the main window: the system's file
// dialogs, the backup file on disk and the messages about it. What a backup
// holds and how it is checked is the session's.
#pragma once

#include <windows.h>

#include "option/model/session/option_session.h"

namespace option {

// Writes the backup of everything to a file the user chooses.
void ExportAllSettings(HWND owner, OptionSession& session);

// Reads a backup the user chooses into the session. True when it replaced
// everything: the caller refreshes and applies it as after a reset. A
// damaged or unreadable file changes nothing and is reported.
bool ImportAllSettings(HWND owner, OptionSession& session);

}  // namespace option
