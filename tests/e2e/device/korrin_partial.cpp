// A device library that lacks one export (ReadUSB). Every export it has claims
// success, so a Monitor that bound it anyway would believe the mouse present.
#include <windows.h>

extern "C" {
__declspec(dllexport) int __stdcall Set_VIDPID(int, int) {
    return 1;
}
__declspec(dllexport) int __stdcall Open_DevMonitor(HWND, UINT, UINT) {
    return 1;
}
__declspec(dllexport) int __stdcall Close_DevMonitor() {
    return 1;
}
__declspec(dllexport) int __stdcall Open_FeatureDevice() {
    return 1;
}
__declspec(dllexport) int __stdcall Close_FeatureDevice() {
    return 1;
}
__declspec(dllexport) int __stdcall Open_ReportDevice() {
    return 1;
}
__declspec(dllexport) int __stdcall Close_ReportDevice() {
    return 1;
}
__declspec(dllexport) int __stdcall SetFeature(unsigned char*, int) {
    return 1;
}
__declspec(dllexport) int __stdcall WriteUSB(unsigned char*, int) {
    return 1;
}
__declspec(dllexport) int __stdcall GetFeature(unsigned char*, int) {
    return 1;
}
}
