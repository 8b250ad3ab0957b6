#include "korrin/backend_win.h"
#include "korrin/virtual_device_protocol.h"

namespace korrin {

HWND VirtualBackend::Find() {
    return FindWindowA(vdev::kWindowClass, nullptr);
}

LRESULT VirtualBackend::Request(HWND window, std::uint32_t op, const void* payload,
                                std::uint32_t size) {
    if (window == nullptr)
        return 0;
    COPYDATASTRUCT cds;
    cds.dwData = op;
    cds.cbData = size;
    cds.lpData = const_cast<void*>(payload);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds),
                             SMTO_ABORTIFHUNG, vdev::kRequestTimeoutMs, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

LRESULT VirtualBackend::Send(std::uint32_t op, const void* payload, std::uint32_t size) {
    return Request(Find(), op, payload, size);
}

void VirtualBackend::SetIds(std::uint16_t vendorId, std::uint16_t productId) {
    vendorId_ = vendorId;
    productId_ = productId;
    const std::uint16_t ids[2] = {vendorId, productId};
    Send(vdev::kOpSetVidPid, ids, sizeof ids);
}

bool VirtualBackend::Present() {
    return Send(vdev::kOpQueryPlugged) == 1;
}
bool VirtualBackend::OpenFeature() {
    return Send(vdev::kOpOpenFeature) == 1;
}
void VirtualBackend::CloseFeature() {
    Send(vdev::kOpCloseFeature);
}
bool VirtualBackend::OpenReport() {
    return Send(vdev::kOpOpenReport) == 1;
}
void VirtualBackend::CloseReport() {
    Send(vdev::kOpCloseReport);
}

int VirtualBackend::SetFeature(const unsigned char* data, int length) {
    if (data == nullptr || length <= 0)
        return 0;
    return static_cast<int>(Send(vdev::kOpSetFeature, data, static_cast<std::uint32_t>(length)));
}

int VirtualBackend::Write(const unsigned char* data, int length) {
    if (data == nullptr || length <= 0)
        return 0;
    return static_cast<int>(Send(vdev::kOpWrite, data, static_cast<std::uint32_t>(length)));
}

int VirtualBackend::GetFeature(unsigned char*, int) {
    return static_cast<int>(Send(vdev::kOpGetFeature));
}
int VirtualBackend::Read(unsigned char*, int) {
    return static_cast<int>(Send(vdev::kOpRead));
}

}  // namespace korrin
