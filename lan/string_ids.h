// Ids of the strings that Option and Monitor load from lan.dll. Every id the
// programs use is named here and listed in kAllStringIds, which a unit test
// checks against the English table, en-US.rc.
#pragma once

#include <array>

namespace lan {

// Monitor's tray.
inline constexpr unsigned kOpenConfiguration = 1002;
inline constexpr unsigned kExit = 1003;
inline constexpr unsigned kTrayTip = 1004;

// Action labels of the button assignment page and the items of its menu.
inline constexpr unsigned kLeftClick = 1005;
inline constexpr unsigned kRightClick = 1006;
inline constexpr unsigned kMiddleClick = 1007;
inline constexpr unsigned kDoubleClick = 1008;
inline constexpr unsigned kShortcut = 1009;
inline constexpr unsigned kDisable = 1010;
inline constexpr unsigned kBack = 1011;
inline constexpr unsigned kForward = 1012;
inline constexpr unsigned kDpiUp = 1013;
inline constexpr unsigned kDpiDown = 1014;
inline constexpr unsigned kDpiCycle = 1015;
inline constexpr unsigned kDpiShift = 1016;
inline constexpr unsigned kProfileMenu = 1017;
inline constexpr unsigned kProfileCycle = 1018;
inline constexpr unsigned kProfileUp = 1019;
inline constexpr unsigned kProfileDown = 1020;
inline constexpr unsigned kMacroMenu = 1021;
inline constexpr unsigned kFirstOtherAction = 1024;  // actions 18..24: 1024..1030
inline constexpr unsigned kFire = 1027;
inline constexpr unsigned kMultimediaMenu = 1031;
inline constexpr unsigned kFirstMediaAction = 1032;  // actions 25..32: 1032..1039
inline constexpr unsigned kWindowsMenu = 1040;
inline constexpr unsigned kFirstSystemAction = 1041;  // actions 33..44: 1041..1052
inline constexpr unsigned kRecordBefore = 1053;
inline constexpr unsigned kRecordAfter = 1054;
inline constexpr unsigned kInsertDelay = 1055;
inline constexpr unsigned kEdit = 1056;
inline constexpr unsigned kDelete = 1057;
inline constexpr unsigned kMouseButtonMenu = 1058;
inline constexpr unsigned kLeftButton = 1059;
inline constexpr unsigned kRightButton = 1060;
inline constexpr unsigned kWheelButton = 1061;
inline constexpr unsigned kForwardButton = 1062;
inline constexpr unsigned kPress = 1064;
inline constexpr unsigned kRelease = 1065;
inline constexpr unsigned kClick = 1066;
inline constexpr unsigned kMacroManager = 1067;
inline constexpr unsigned kEditingMenu = 1070;
inline constexpr unsigned kFirstShortcutAction = 1071;  // actions 48..58: 1071..1081
inline constexpr unsigned kFirstWindowAction = 1082;    // actions 64..70: 1082..1088
inline constexpr unsigned kDeviceFunction3 = 1090;
inline constexpr unsigned kDeviceFunction1 = 1091;
inline constexpr unsigned kDeviceFunction2 = 1092;
inline constexpr unsigned kTripleClick = 1093;
inline constexpr unsigned kLaunchProgramItem = 1094;
inline constexpr unsigned kMediaPlayerItem = 1095;

// Option's main window.
inline constexpr unsigned kResetQuestion = 1201;
inline constexpr unsigned kResetCaption = 1202;

// The button assignment and support pages.
inline constexpr unsigned kManualMissing = 1340;
inline constexpr unsigned kManualCaption = 1341;

// The button page's dialogs.
inline constexpr unsigned kPathTooLong = 1380;  // "%1" the path's length, "%2" the longest
inline constexpr unsigned kPathTooLongCaption = 1381;

// Monitor's diagnostics: the two tray items and what they tell the user.
inline constexpr unsigned kRecordDiagnostics = 1400;
inline constexpr unsigned kSaveDiagnosticsReport = 1401;
inline constexpr unsigned kDiagnosticsCaption = 1402;
inline constexpr unsigned kDiagnosticsRecording = 1403;
inline constexpr unsigned kDiagnosticsRecorded = 1404;
inline constexpr unsigned kDiagnosticsUnavailable = 1405;
inline constexpr unsigned kReportNotSaved = 1406;
inline constexpr unsigned kTextFiles = 1407;
inline constexpr unsigned kDiagnosticsNotStarted = 1408;
// Option's support page: where its diagnostics report went.
inline constexpr unsigned kReportSaved = 1409;
// Monitor's command line (message boxes).
inline constexpr unsigned kCommandUsage = 1420;
inline constexpr unsigned kCommandBadArgument = 1421;  // "%1" the argument
inline constexpr unsigned kCommandCaption = 1422;
// The profile dialog's return-after-game check box.
inline constexpr unsigned kReturnAfterGame = 1423;
// Export all and import all of the main window.
inline constexpr unsigned kExportAll = 1424;
inline constexpr unsigned kImportAll = 1425;
inline constexpr unsigned kBackupDamaged = 1426;  // "%1" the damaged part
inline constexpr unsigned kBackupUnreadable = 1427;
inline constexpr unsigned kBackupWriteFailed = 1428;
inline constexpr unsigned kBackupCaption = 1429;
inline constexpr unsigned kBackupPartVersion = 1430;
inline constexpr unsigned kBackupPartGeneral = 1431;
inline constexpr unsigned kBackupPartProfile = 1432;  // "%1" the profile number
inline constexpr unsigned kBackupPartNotices = 1433;
inline constexpr unsigned kBackupPartMacros = 1434;
// What a screen reader calls the colour spectra (lighting page, CPI level
// colour) and the delay lines of the macro manager's event list.
inline constexpr unsigned kColorSpectrum = 1435;
inline constexpr unsigned kDelayEvent = 1436;
// Forgetting the channel the device library remembered (Monitor's tray,
// Option's support page) and what the user is told.
inline constexpr unsigned kForgetChannels = 1437;
inline constexpr unsigned kChannelsForgotten = 1438;
inline constexpr unsigned kChannelsNotForgotten = 1439;
// The support page's choice of language and the manual's language.
inline constexpr unsigned kFollowWindows = 1440;
inline constexpr unsigned kLanguageShownNow = 1441;
inline constexpr unsigned kManualInEnglish = 1442;
inline constexpr unsigned kLanguageChoice = 1443;

// Every id above as runs of consecutive ids (the action labels are used by
// their position in a run, not by name).
struct IdRun {
    unsigned first;
    unsigned last;
};
inline constexpr std::array<IdRun, 13> kUsedIds = {{
    {kOpenConfiguration, kTrayTip},
    {kLeftClick, kMacroMenu},
    {kFirstOtherAction, kFirstOtherAction + 6},
    {kMultimediaMenu, kFirstSystemAction + 11},
    {kRecordBefore, kForwardButton},
    {kPress, kMacroManager},
    {kEditingMenu, kFirstWindowAction + 6},
    {kDeviceFunction3, kMediaPlayerItem},
    {kResetQuestion, kResetCaption},
    {kManualMissing, kManualCaption},
    {kPathTooLong, kPathTooLongCaption},
    {kRecordDiagnostics, kReportSaved},
    {kCommandUsage, kLanguageChoice},
}};

}  // namespace lan
