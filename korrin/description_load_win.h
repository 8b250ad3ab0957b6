// Reads the device description file korrin-device.ini from a folder: the
// library reads the one beside itself, a virtual mouse the one beside itself
// (the same program folder), so that both frame events alike.
#pragma once

#include <string>

#include "korrin/device_description.h"

namespace korrin {

// The folder of the module that holds `address` (the library, or a program),
// with its trailing backslash; empty when it cannot be told.
std::wstring ModuleFolderW(const void* address);

// The description in `folder`: the built-in one when there is no file, or
// when the file cannot be taken (`problem` says why).
DescriptionLoad LoadDescriptionFrom(const std::wstring& folder);

}  // namespace korrin
