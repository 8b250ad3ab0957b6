// A picture file (JPEG, BMP, ...) decoded by the system's imaging codecs
// into a 32-bit top-down section: the one decoder of the skin pictures.
#pragma once

#include <windows.h>

#include <string>

#include "common/win/scoped_win.h"

namespace skin {

// Decodes the file at `path` into `target` (replacing what it held) and
// writes the picture's size. A missing or undecodable file leaves `target`
// empty and the size 0 x 0, writes a debug trace and returns 0; success
// returns 1. Safe on any thread.
int DecodePictureFile(const std::string& path, win::ScopedGdi<HBITMAP>& target, SIZE& size);

}  // namespace skin
