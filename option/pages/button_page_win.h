// The button assignment page: one skinned button per button entry of the
// current profile, captioned with the mouse button's number and its action;
// a click opens the assignment menu, and the chosen command is written into
// the edit block through the platform-free command handler.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "common/win/window.h"
#include "option/pages/button_page_controls.h"
#include "option/pages/option_page.h"
#include "option/pages/page_host.h"
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_host_win.h"
#include "option/skin/skin_loader_win.h"

namespace option {

class CButtonPage : public skin::SkinHost<CButtonPage>, public OptionPage {
  public:
    explicit CButtonPage(PageHost& host) : host_(host) {}

    bool Create(HWND parent, const RECT& area) override;
    HWND Window() const override { return Hwnd(); }
    // Recomputes the 16 captions from the edit block's current profile.
    void Refresh() override;
    std::span<const skin::ControlRow> Controls() const override { return button_page::kControls; }

    static std::span<const win::MessageRow<CButtonPage>> MessageMap();
    // Adds the pictures of the page's first paint (it is the page shown at
    // start), to decode beforehand.
    static void AddFirstPaintPictures(std::vector<std::string>& paths);

  private:
    void OpenMenu(int entry);

    LRESULT OnPaint();
    LRESULT OnPaintInto(win::WParam<HDC> dc);
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnLButtonDown(UINT keys, POINT at);
    LRESULT OnButtonClick(UINT id, UINT code);
    LRESULT OnAssignment(UINT id);

    PageHost& host_;
    skin::SkinSurface surface_;
    std::array<skin::CSkinButton, 16> buttons_;
    int selected_ = 0;
};

}  // namespace option
