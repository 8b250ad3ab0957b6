// An empty modal dialog of Option's size: the fastest a dialog program can
// start and paint here, against which Option's start is measured.
#include <windows.h>

#include <cstddef>

namespace {

INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_INITDIALOG) {
        SetWindowTextA(hwnd, "Trivial Dialog");
        SetWindowPos(hwnd, nullptr, 0, 0, 860, 600, SWP_NOMOVE | SWP_NOZORDER);
        return TRUE;
    }
    if (msg == WM_CLOSE) {
        EndDialog(hwnd, 0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    alignas(DWORD) WORD tmpl[16] = {};
    auto* header = reinterpret_cast<DLGTEMPLATE*>(tmpl);
    header->style = WS_POPUP | WS_VISIBLE;
    header->cx = 100;
    header->cy = 100;
    return static_cast<int>(DialogBoxIndirectParamA(instance, header, nullptr, &Proc, 0));
}
