#include "option/pages/advanced_page_win.h"
#include "option/pages/button_page_win.h"
#include "option/pages/lighting_page_win.h"
#include "option/pages/option_page.h"
#include "option/pages/support_page_win.h"

namespace option {

std::unique_ptr<OptionPage> MakePage(int index, COptionDlg& owner) {
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
            return nullptr;
    }
}

}  // namespace option
