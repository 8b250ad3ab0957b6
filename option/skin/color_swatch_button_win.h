// A skinned button that shows a colour block over its image and reads the
// colour to a screen reader.
#pragma once

#include <windows.h>

#include <string>

#include "option/skin/skin_button_win.h"

namespace skin {

class CColorSwatchButton : public CSkinButton {
  public:
    void SetSwatchColor(COLORREF color);
    COLORREF SwatchColor() const { return swatch_; }

  protected:
    void DrawFace(HDC dc, HBITMAP image, const RECT& client) override;
    std::string HintFor(bool hover) const override;
    std::string AccessibleValue() const override;

  private:
    COLORREF swatch_ = 0;
};

}  // namespace skin
