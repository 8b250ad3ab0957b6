// Bitmap resources of the macro manager's event list; the numbers are the
// item kinds of the macro editor (EventItemKind), checked there.
#pragma once

#define IDB_EVENT_DELAY 135
#define IDB_EVENT_KEY_RELEASE 137
#define IDB_EVENT_KEY_PRESS 138
#define IDB_EVENT_MOUSE 146
