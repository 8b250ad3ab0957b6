// The system's HID functions behind the library's HidSystem interface:
// SetupDi enumeration, the HID parser's capabilities, CreateFile with the
// access asked for, and overlapped set-feature, get-feature, write and read.
#pragma once

#include <windows.h>

#include <string>

#include "korrin/capture_log.h"
#include "korrin/device_description.h"
#include "korrin/hid_device.h"
#include "korrin/hid_system.h"

namespace korrin {

// The one instance of the process.
HidSystem& WindowsHid();

// The window that hears the handle notices of every channel and reader opened
// from now on (nullptr: none is asked for).
void SetRemovalWindow(HWND window);
// The interface path a handle notice was asked for; empty when not ours.
std::string PathOfRemovalNotice(HDEVNOTIFY notify);
// A system text in the code page the device paths are listed in.
std::string NarrowText(const wchar_t* text);

// The library's diagnostics: debugger output, and while a capture runs
// logs\korrin-capture.txt in the program folder.
CaptureLog& Diagnostics();

// The device description: korrin-device.ini beside the library, else the
// built-in one (a file that was not taken is said once in the diagnostics).
const DescriptionLoad& DescriptionInUse();

// Channel choices that worked, in korrin-channels.ini beside the library.
ChoiceStore& RememberedChoices();

}  // namespace korrin
