// The system's HID functions behind the library's HidSystem interface:
// SetupDi enumeration, the HID parser's capabilities, CreateFile with the
// access asked for, and overlapped set-feature, get-feature, write and read.
#pragma once

#include "korrin/capture_log.h"
#include "korrin/hid_device.h"
#include "korrin/hid_system.h"

namespace korrin {

// The one instance of the process.
HidSystem& WindowsHid();

// The library's diagnostics: debugger output, and while a capture runs
// logs\korrin-capture.txt in the program folder.
CaptureLog& Diagnostics();

// Channel choices that worked, in korrin-channels.ini beside the library.
ChoiceStore& RememberedChoices();

}  // namespace korrin
