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

void SkinPage(HWND page, const RECT& area, skin::SkinSurface& surface, const std::string& skinFile,
              std::span<const skin::ControlRow> controls, const skin::RowMaker& make) {
    surface.InitSkinControls(page, skinFile, controls, make);
    surface.ApplyShape(page);
    SetWindowPos(page, nullptr, area.left, area.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace option
