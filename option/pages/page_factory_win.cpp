#include "option/pages/advanced_page_win.h"
#include "option/pages/button_page_win.h"
#include "option/pages/lighting_page_win.h"
#include "option/pages/option_page.h"
#include "option/pages/support_page_win.h"

namespace option {

std::unique_ptr<OptionPage> MakePage(int index, PageHost& host) {
    switch (index) {
        case 0:
            return std::make_unique<CButtonPage>(host);
        case 1:
            return std::make_unique<CLightingPage>(host);
        case 2:
            return std::make_unique<CAdvancedPage>(host);
        case 3:
            return std::make_unique<CSupportPage>(host);
        default:
            return nullptr;
    }
}

}  // namespace option
