// Helpers of the skin tests under Wine: temporary skin folders, message
// pumping and reading back pictures.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace skintest {

// A fresh folder under the temporary folder, with a trailing backslash.
std::string FreshFolder(const std::string& name);

// Dispatches this thread's messages for about `ms` milliseconds.
void Pump(DWORD ms);

// Lines of `log` that start with `prefix`.
std::vector<std::string> Lines(const std::vector<std::string>& log, const std::string& prefix);
bool Contains(const std::vector<std::string>& log, const std::string& line);

// The colour of a pixel of a bitmap (0x00BBGGRR), CLR_INVALID when unreadable.
COLORREF PixelOf(HBITMAP bitmap, int x, int y);

// Writes a file of raw bytes.
bool WriteBytes(const std::string& path, const void* data, std::size_t size);

// The folder in env MOUSE_ARTIFACTS (created), "" when unset.
std::string ArtifactsFolder();

}  // namespace skintest
