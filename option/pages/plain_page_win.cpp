#include "option/pages/plain_page_win.h"

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

std::span<const win::MessageRow<CPlainPage>> CPlainPage::MessageMap() {
    static const win::MessageRow<CPlainPage> rows[] = {
        win::OnMessage<WM_PAINT, &CPlainPage::OnPaint>(),
        win::OnMessage<WM_ERASEBKGND, &CPlainPage::OnEraseBkgnd>(),
        win::OnMessage<WM_LBUTTONDOWN, &CPlainPage::OnLButtonDown>(),
    };
    return rows;
}

bool CPlainPage::Create(HWND parent, const RECT& area) {
    HWND page = CreatePageWindow(parent, area);
    if (page == nullptr || !Subclass(page))
        return false;
    surface_.InitSkin(
        page, skinFile_, {},
        [](std::size_t, const char*, const skin::ButtonPos&, const skin::SkinSheets&) {});
    surface_.ApplyShape(page);
    // The skin recipe moves the window to (0, 0) of its parent.
    SetWindowPos(page, nullptr, area.left, area.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

LRESULT CPlainPage::OnPaint() {
    surface_.Paint(Hwnd());
    return 0;
}

LRESULT CPlainPage::OnLButtonDown(UINT, POINT at) {
    skin::DragByBody(Hwnd(), at, true);
    return CallDefault();
}

}  // namespace option
