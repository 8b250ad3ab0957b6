// A page of the main window with nothing but its skin: a skinned child
// dialog (template 131) built by the skin recipe from its description file.
// Pages with controls have their own classes; this one serves a page whose
// skin is all there is to it.
#pragma once

#include <windows.h>

#include <string>

#include "common/win/window.h"
#include "option/pages/option_page.h"
#include "option/skin/skin_loader_win.h"

namespace option {

// Creates an empty page child from template 131 in `parent`, moved to
// `area` and hidden; every page window starts this way.
HWND CreatePageWindow(HWND parent, const RECT& area);

class CPlainPage : public win::WindowImpl<CPlainPage>, public OptionPage {
  public:
    explicit CPlainPage(std::string skinFile) : skinFile_(std::move(skinFile)) {}

    bool Create(HWND parent, const RECT& area) override;
    HWND Window() const override { return Hwnd(); }

    static std::span<const win::MessageRow<CPlainPage>> MessageMap();

  private:
    LRESULT OnPaint();
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnLButtonDown(UINT keys, POINT at);

    std::string skinFile_;
    skin::SkinSurface surface_;
};

}  // namespace option
