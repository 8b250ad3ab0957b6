// Names and numbers through which Monitor, Option and the companion programs
// find and talk to each other. These are fixed values that other programs
// rely on; none of them is a registered message.
#pragma once

#include <cstdint>

namespace protocol {

// Window titles; every window is found by its exact title alone.
inline constexpr const char* kMonitorTitle = "Professional Gaming Optical Mouse Monitor";
inline constexpr const char* kOptionTitle = "Professional Gaming Optical Mouse Option";
inline constexpr const char* kOsdTitle = "Professional Gaming Optical Mouse OSD";
inline constexpr const char* kPop3Title = "Professional Gaming Optical Mouse Pop3";
inline constexpr const char* kCpuRamTitle = "Professional Gaming Optical Mouse CPU RAM OSD";
inline constexpr const char* kSkypeTitle = "Professional Gaming Optical Mouse OSD SKYPE";
inline constexpr const char* kMsnTitle = "Professional Gaming Optical Mouse OSD MSN";

// Monitor's single-instance mutex carries the window title as its name.
inline constexpr const char* kMonitorInstanceMutex = "Professional Gaming Optical Mouse Monitor";
inline constexpr const char* kOptionInstanceMutex = "Professional Gaming Optical Mouse Configure";
inline constexpr const char* kOsdInstanceMutex = "Professional Gaming Optical Mouse OSD";

// Companion windows closed at shut-down, in this order.
inline constexpr const char* kCompanionTitles[] = {kOsdTitle, kPop3Title, kCpuRamTitle, kSkypeTitle,
                                                   kMsnTitle};

// Window messages (WM_USER range).
inline constexpr unsigned kMsgTrayNotify = 1036;  // WM_USER + 12
inline constexpr unsigned kMsgApplyAll = 1224;    // WM_USER + 200, from Option
inline constexpr unsigned kMsgReloadBlock = 1226;
inline constexpr unsigned kMsgReloadAndApply = 1227;
inline constexpr unsigned kMsgIgnored = 1274;
inline constexpr unsigned kMsgProfileChanged = 1255;  // to Option
inline constexpr unsigned kMsgUploadDone = 1256;      // to Option
inline constexpr unsigned kMsgSettingChanged = 1257;  // to Option
inline constexpr unsigned kMsgOsdNotice = 1324;       // to the display program
inline constexpr unsigned kMsgDeviceEvent = 1325;     // from the device library
inline constexpr unsigned kMsgDeviceArrival = 1326;   // from the device library; to OSD: settings
// The same number, as the display program receives it: its two display values.
inline constexpr unsigned kMsgOsdSettingsChanged = kMsgDeviceArrival;

// Notice kinds: the wParam of kMsgOsdNotice.
inline constexpr unsigned kOsdNoticeProfile = 40;  // lParam: profile index x 65536
inline constexpr unsigned kOsdNoticeText = 50;     // [OSDData] Message of config.ini
inline constexpr unsigned kOsdNoticeMacro = 70;    // [MacroOSD] of config.ini

// Thread messages.
inline constexpr unsigned kThreadPlayMacro = 1648;
inline constexpr unsigned kThreadUploadJob = 1649;

enum class UploadJob : int { ChangedOnly = 1, Full = 2, SelectProfile = 3 };

// Commands.
inline constexpr unsigned kCmdOpenOption = 6001;
inline constexpr unsigned kCmdExit = 6002;

// Timers of Monitor's window.
inline constexpr unsigned kTimerVolumeRepeat = 101;
inline constexpr unsigned kTimerKeyRepeat = 102;
inline constexpr unsigned kTimerGameWatch = 500;
inline constexpr unsigned kTimerStartUpload = 502;

inline constexpr unsigned kTrayIconId = 102;

// WM_COPYDATA from the applets: exactly this many bytes, text in bytes 1..150.
inline constexpr std::uint32_t kOsdCopyDataSize = 151;

// Connection state of the mouse.
enum class Connection : int { NotOpened = 0, Connected = 1, Removed = 2 };

// lan.dll string ids used by Monitor.
inline constexpr unsigned kStrOpenConfiguration = 1002;
inline constexpr unsigned kStrExit = 1003;
inline constexpr unsigned kStrTrayTip = 1004;

}  // namespace protocol
