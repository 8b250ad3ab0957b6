#include "option/option_page_win.h"

#include "option/option_resource_ids.h"

namespace option {
namespace {

INT_PTR CALLBACK PageDialogProc(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

std::span<const win::MessageRow<COptionPage>> COptionPage::MessageMap() {
    static const win::MessageRow<COptionPage> rows[] = {
        win::OnMessage<WM_PAINT, &COptionPage::OnPaint>(),
        win::OnMessage<WM_ERASEBKGND, &COptionPage::OnEraseBkgnd>(),
        win::OnMessage<WM_LBUTTONDOWN, &COptionPage::OnLButtonDown>(),
    };
    return rows;
}

bool COptionPage::Create(HWND parent, const std::string& skinFile, const RECT& area) {
    HWND page = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_OPTION_PAGE),
                                   parent, &PageDialogProc, 0);
    if (page == nullptr || !Subclass(page))
        return false;
    surface_.InitSkin(
        page, skinFile, {},
        [](std::size_t, const char*, const skin::ButtonPos&, const skin::SkinSheets&) {});
    surface_.ApplyShape(page);
    SetWindowPos(page, nullptr, area.left, area.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    return true;
}

void COptionPage::Show(bool visible) {
    ShowWindow(Hwnd(), visible ? SW_SHOW : SW_HIDE);
}

LRESULT COptionPage::OnPaint() {
    surface_.Paint(Hwnd());
    return 0;
}

LRESULT COptionPage::OnLButtonDown(UINT, POINT at) {
    skin::DragByBody(Hwnd(), at, true);
    return CallDefault();
}

}  // namespace option
