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
#include "option/pages/page_host.h"
#include "option/pages/skinned_page_win.h"
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_loader_win.h"

namespace option {

class CButtonPage : public SkinnedPage<CButtonPage> {
  public:
    explicit CButtonPage(PageHost& host);

    // Recomputes the 16 captions from the edit block's current profile.
    void Refresh() override;

    static std::span<const win::MessageRow<CButtonPage>> MessageMap();
    // Adds the pictures of the page's first paint (it is the page shown at
    // start), to decode beforehand.
    static void AddFirstPaintPictures(std::vector<std::string>& paths);

  private:
    friend class SkinnedPage<CButtonPage>;

    // Key k is the button of entry k - 1.
    void BuildControl(const skin::ControlRow& row, const skin::ButtonPos& pos,
                      const skin::SkinSheets& sheets);
    void OpenMenu(int entry);

    LRESULT OnPaintInto(win::WParam<HDC> dc);
    LRESULT OnButtonClick(UINT id, UINT code);
    LRESULT OnAssignment(UINT id);

    PageHost& host_;
    std::array<skin::CSkinButton, 16> buttons_;
    int selected_ = 0;
};

}  // namespace option
