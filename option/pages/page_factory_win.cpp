#include "option/pages/advanced_page_win.h"
#include "option/pages/button_page_win.h"
#include "option/pages/lighting_page_win.h"
#include "option/pages/plain_page_win.h"
#include "option/pages/support_page_win.h"
#include "option/pages/option_page.h"

namespace option {
namespace {

constexpr const char* kPageSkins[] = {"skin_main_control.ini", "skin_color_control.ini",
                                      "skin_advance_expand.ini", "skin_support_control.ini"};

}  // namespace

std::unique_ptr<OptionPage> MakePage(int index, COptionDlg& owner) {
    // One line per page: a page that has its own class is made here.
    switch (index) {
        case 0:
            return std::make_unique<CButtonPage>(owner);
        case 1:
            return std::make_unique<CLightingPage>(owner);
        case 2:
            return std::make_unique<CAdvancedPage>(owner);
        case 3:
            return std::make_unique<CSupportPage>();
        default:
            return std::make_unique<CPlainPage>(kPageSkins[index]);
    }
}

}  // namespace option
