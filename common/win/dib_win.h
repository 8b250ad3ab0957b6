// The description of a picture kept as plain 32-bit pixels, top row first,
// for CreateDIBSection and GetDIBits.
#pragma once

#include <windows.h>

namespace win {

// Four bytes a pixel (blue, green, red, unused), `height` rows from the top.
inline BITMAPINFO TopDownRgb32(int width, int height) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

}  // namespace win
