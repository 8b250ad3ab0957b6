#include "option/pages/page_window_win.h"

#include "option/option_resource_ids.h"

namespace option {
namespace {

INT_PTR CALLBACK PageDialogProc(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

HWND CreatePageWindow(HWND parent, const RECT& area) {
    HWND page = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_OPTION_PAGE),
                                   parent, &PageDialogProc, 0);
    if (page != nullptr) {
        SetWindowPos(page, nullptr, area.left, area.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    }
    return page;
}

}  // namespace option
