// How korrin.dll and a running virtual mouse (tools/VirtualMouse) talk: the
// library finds the virtual mouse's window by its class name and sends it
// WM_COPYDATA requests; the virtual mouse posts notices back to the library's
// watch window. Values only; both sides include this header.
#pragma once

#include <cstdint>

namespace korrin::vdev {

// Window class of a running virtual mouse. While such a window exists the
// library talks to it instead of the hardware.
inline constexpr const char* kWindowClass = "MouseVirtualDeviceWindow";

// WM_COPYDATA requests: dwData is the operation, lpData its payload. The
// result of SendMessage is the operation's result (0 = failed / unplugged).
enum Op : std::uint32_t {
    kOpSetVidPid = 1,    // payload: two uint16 (vendor, product)
    kOpOpenFeature = 2,  // no payload; 1 when plugged
    kOpCloseFeature = 3,
    kOpOpenReport = 4,  // no payload; 1 when plugged
    kOpCloseReport = 5,
    kOpSetFeature = 6,     // payload: 8-byte command report
    kOpWrite = 7,          // payload: 64-byte chunk
    kOpGetFeature = 8,     // no payload; result 0 (nothing to read back)
    kOpRead = 9,           // no payload; result 0
    kOpRegister = 10,      // payload: uint64 watch window handle
    kOpUnregister = 11,    // payload: uint64 watch window handle
    kOpQueryPlugged = 12,  // no payload; 1 when plugged
    kOpCommand = 100,      // payload: command line text (second instance)
};

// Plugging and unplugging are told to every registered watch window as the
// system tells a real replug: WM_DEVICECHANGE (sent, not posted) with
// DBT_DEVICEARRIVAL / DBT_DEVICEREMOVECOMPLETE and a device interface of the
// HID class named by this path (printf format: vendor id, product id). It is
// the path of the virtual mouse's channels.
inline constexpr const char* kDevicePathFormat =
    "\\\\?\\HID#VID_%04X&PID_%04X&MI_01#VirtualMouse&0&0000#"
    "{4d1e55b2-f16f-11cf-88cb-001111000030}";

// Events go to every registered watch window as the input report the mouse
// would send: WM_COPYDATA with this dwData and the report (id byte first),
// framed as the device description beside the virtual mouse says (the same
// korrin-device.ini the library reads beside itself). The library reads it
// as it reads a real one. Sent and waited for, like the device notices, so
// that both keep their order.
inline constexpr std::uint32_t kNoticeEventReport = 200;

// Time a request may take before the library gives up on the virtual mouse.
inline constexpr unsigned kRequestTimeoutMs = 2000;

}  // namespace korrin::vdev
