// The four-image buttons of a window's control table, one for each row that
// makes one, found by the row's skin key.
#pragma once

#include <array>

#include "option/skin/control_table.h"
#include "option/skin/skin_button_win.h"

namespace skin {

template <const auto& Controls>
class SkinButtonSet {
  public:
    CSkinButton& ByKey(int key) { return buttons_[SlotOfKey(Controls, key, IsSkinButton)]; }

  private:
    std::array<CSkinButton, CountRows(Controls, IsSkinButton)> buttons_;
};

}  // namespace skin
