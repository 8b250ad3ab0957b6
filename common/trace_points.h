// The debug texts our programs write at the points the end-to-end tests wait
// for. The program writes a line with one of these formats and the test builds
// the line it waits for from the same format, so a reworded line changes both
// sides at once. Formats are printf formats, so the compiler checks the
// arguments at both ends; a test makes the line with text::Format.
#pragma once

#include <string_view>

namespace trace {

// Monitor: the customizer command, the start-up, the upload's end.
inline constexpr char kCustomizerAsked[] = "CMonitorWnd OnCustomizer\n";
inline constexpr char kCustomizerRestored[] = "CMonitorWnd OnCustomizer hWnd!=NULL\n";
inline constexpr char kCustomizerStarted[] = "CMonitorWnd OnCustomizer hWnd==NULL\n";
inline constexpr char kMonitorCommandLine[] = "CMonitorApp: %s\n";  // the arguments
inline constexpr char kUploadDoneNoOption[] = "OnApplyAllSetting Don't find Quen Option Dialog\n";
inline constexpr char kUploadDoneByWindow[] = "OnApplyAllSetting  Send Enable OK/Apply Button\n";
inline constexpr char kUploadDoneByThread[] = "Thread Send Enable OK/Apply Button\n";
// Every program at its start (Monitor also in its log): the way its text
// meets the system.
inline constexpr char kTextModeUtf8[] = "text: UTF-8 code page\n";
inline constexpr char kTextModeLegacy[] = "text: legacy code page %u, wide calls and short paths\n";
// Monitor's runtime: a macro step, a poll of the foreground program, an OSD
// notice (its window).
inline constexpr char kMacroStep[] = "g_iCurAction= %d,start=%d,end=%d\n";
inline constexpr char kGameWatchPoll[] = "Game watch poll\n";
inline constexpr char kShowOsd[] = "Show OSD %d\n";

// Option's main window: Apply (reset, published, pending), the profile
// dialog (started empty, stored), profile import (its result) and export
// (ok), the backup of all settings.
inline constexpr char kOptionApply[] = "COptionDlg Apply %d published %d pending %d\n";
inline constexpr char kOptionEditProfile[] = "COptionDlg EditProfile %d stored %d\n";
inline constexpr char kOptionImport[] = "COptionDlg Import %d\n";
inline constexpr char kOptionExport[] = "COptionDlg Export %d\n";
inline constexpr char kOptionExportAll[] = "COptionDlg ExportAll %d\n";
inline constexpr char kOptionImportAll[] = "COptionDlg ImportAll %d\n";  // the damaged part
// Option's pages: the button menu (its entry), a command (id, button) and
// its outcome, the support page, a slider click (its value), a spin box of
// the colour dialog taking a value (its id).
inline constexpr char kButtonMenu[] = "CButtonPage menu %d\n";
inline constexpr char kButtonCommand[] = "CButtonPage command %u button %d\n";
inline constexpr char kButtonCommandOutcome[] = "CButtonPage command %u button %d outcome %d\n";
inline constexpr char kSupportReportSaved[] = "CSupportPage report saved %d\n";
inline constexpr char kSupportChannelsForgotten[] = "CSupportPage channels forgotten %d\n";
inline constexpr char kSupportManualMissing[] = "CSupportPage manual missing\n";
inline constexpr char kSupportLanguageChosen[] = "CSupportPage language chosen %d\n";
inline constexpr char kLanguageShown[] = "COptionDlg language shown %d\n";
inline constexpr char kSliderClicked[] = "SliderTrack=%f\n";
inline constexpr char kSpinValueTaken[] = "lParam = %d\n";
// Option's keyboard hook for key capture, removed or not.
inline constexpr char kKeyHookRemoved[] = "UnHhook: Success \r\n";
inline constexpr char kKeyHookNotRemoved[] = "UnHhook: Fail \r\n";

// Whether `line` was written by the trace point of `format`, whatever its
// values: the line begins with the format's fixed part.
inline bool IsFrom(const char* format, std::string_view line) {
    const std::string_view fixed =
        std::string_view(format).substr(0, std::string_view(format).find('%'));
    return line.substr(0, fixed.size()) == fixed;
}

}  // namespace trace
