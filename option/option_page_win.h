// One page of the main window: a skinned child dialog (template 131) built
// by the skin recipe from its description file and placed inside the main
// window's page area. The pages' own controls come with each page.
#pragma once

#include <windows.h>

#include <string>

#include "common/win/window.h"
#include "option/skin/skin_loader_win.h"

namespace option {

class COptionPage : public win::WindowImpl<COptionPage> {
  public:
    // Creates the page from template 131 in `parent`, skins it from
    // `skinFile` and moves it to `area` (parent client coordinates), hidden.
    bool Create(HWND parent, const std::string& skinFile, const RECT& area);
    void Show(bool visible);
    // Shows the edit block's current profile; nothing to show yet.
    virtual void Refresh() {}

    static std::span<const win::MessageRow<COptionPage>> MessageMap();

  private:
    LRESULT OnPaint();
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnLButtonDown(UINT keys, POINT at);

    skin::SkinSurface surface_;
};

}  // namespace option
