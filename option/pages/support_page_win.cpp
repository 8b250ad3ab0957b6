#include "common/win/wide_text_win.h"
#include "option/pages/support_page_win.h"

#include <commdlg.h>
#include <shellapi.h>

#include <cstdio>

#include "common/language_choice.h"
#include "common/settings/ini_file_win.h"
#include "common/settings/settings_files.h"
#include "common/trace_points.h"
#include "common/win/program_folder_win.h"
#include "common/win/scoped_win.h"
#include "lan/string_ids.h"
#include "option/late_system_calls_win.h"
#include "option/option_globals_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/skin_menu_win.h"
#include "option/skin/themed_controls_win.h"

namespace option {
namespace {

constexpr const char* kSkinFile = "skin_support_control.ini";
constexpr COLORREF kVersionColor = RGB(180, 180, 180);
constexpr POINT kSoftwareAt{172, 105};
constexpr POINT kFirmwareAt{186, 135};

// `at` is a point of the 100 % picture; the text goes where the skin set in
// use has it.
void DrawVersion(HDC dc, POINT at, const std::string& text) {
    TextOutA(dc, skin::SkinPixels(at.x), skin::SkinPixels(at.y), text.c_str(),
             static_cast<int>(text.size()));
}

// Monitor writes the report in a second or two; when a running Monitor does
// not answer it waits for it a while before writing the report itself.
constexpr DWORD kReportWaitMs = 90000;

std::wstring Widened(const std::string& text) {
    return win::Wide(text);
}

// "<program folder>Monitor.exe", in UTF-16.
std::wstring MonitorPath() {
    std::wstring path(MAX_PATH * 4, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length < path.size() ? length : 0);
    path.resize(path.find_last_of(L"\\/") + 1);
    return path + L"Monitor.exe";
}

bool ChooseReportPath(HWND owner, std::wstring& path) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t file[MAX_PATH * 4] = {};
    std::swprintf(file, MAX_PATH, L"Mouse diagnostics %04u-%02u-%02u %02u%02u.txt", now.wYear,
                  now.wMonth, now.wDay, now.wHour, now.wMinute);
    // "Text files\0*.txt\0\0"
    std::wstring filter = Widened(LanString(lan::kTextFiles));
    filter += std::wstring(L"\0*.txt\0\0", 8);
    // The tray item's text, without its access key.
    std::wstring title = Widened(LanString(lan::kSaveDiagnosticsReport));
    std::erase(title, L'&');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = static_cast<DWORD>(std::size(file));
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = L"txt";
    dialog.Flags =
        OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!late::GetSaveFileNameW(&dialog))
        return false;
    path = file;
    return true;
}

// Runs "Monitor.exe ARGUMENTS" from the program folder and waits for it, the
// window thread's messages handled meanwhile; true when it ended with exit
// code 0 (done).
bool RunMonitorCommand(const std::wstring& arguments) {
    const std::wstring monitor = MonitorPath();
    std::wstring line = L"\"" + monitor + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(monitor.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return false;
    win::ScopedHandle process(info.hProcess);
    win::ScopedHandle thread(info.hThread);
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        const ULONGLONG spent = GetTickCount64() - start;
        if (spent >= kReportWaitMs)
            return false;
        const HANDLE waits[] = {process.Get()};
        const DWORD woke = MsgWaitForMultipleObjects(
            1, waits, FALSE, static_cast<DWORD>(kReportWaitMs - spent), QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0)
            break;
        if (woke != WAIT_OBJECT_0 + 1)
            return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return false;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    DWORD code = 1;
    return GetExitCodeProcess(process.Get(), &code) && code == 0;
}

// Where the language button goes when the skin does not place it (100 %
// pixels: along the foot of the version panel).
constexpr int kLanguageKey = 4;
constexpr skin::PosRect kLanguageButtonAt{28, 148, 28 + 300, 148 + 20};
constexpr int kLanguageMenuWidth = 218;
// Menu commands: follow Windows, then each language of Languages() in order.
constexpr UINT kFollowWindowsCommand = 1;
constexpr UINT kFirstLanguageCommand = 2;

skin::ButtonPos PlacedLanguageButton(const skin::ButtonPos& pos) {
    if (skin::Width(pos.rect) > 0 && skin::Height(pos.rect) > 0)
        return pos;
    skin::ButtonPos placed = pos;
    placed.rect = {
        skin::SkinPixels(kLanguageButtonAt.left), skin::SkinPixels(kLanguageButtonAt.top),
        skin::SkinPixels(kLanguageButtonAt.right), skin::SkinPixels(kLanguageButtonAt.bottom)};
    return placed;
}

// What the language button says: the chosen language in its own name.
std::string LanguageFace(const std::string& setting) {
    if (setting.empty())
        return LanString(lan::kFollowWindows);
    const lan::Language* language = lan::MatchLanguage(setting);
    return language != nullptr ? language->ownName : setting;
}

void TellManualMissing(HWND main, const std::string& path) {
    skin::ThemedMessageBox(
        main, Widened(LanString(lan::kManualMissing)) + L"\n" + win::Widen(path, CP_ACP),
        Widened(LanString(lan::kManualCaption)), MB_OK | MB_ICONWARNING);
}

}  // namespace

std::string ManualPath(const std::string& programFolder) {
    return programFolder + "User Manual.pdf";
}

std::span<const win::MessageRow<CSupportPage>> CSupportPage::MessageMap() {
    static constexpr Row own[] = {
        win::OnCommand<&CSupportPage::OnManual>(kManualButtonId),
        win::OnCommand<&CSupportPage::OnReport>(kReportButtonId),
        win::OnCommand<&CSupportPage::OnForget>(kForgetButtonId),
        win::OnCommand<&CSupportPage::OnLanguage>(kLanguageButtonId),
    };
    static constexpr auto rows = Table(std::to_array(own));
    return rows;
}

CSupportPage::CSupportPage(PageHost& host)
    : SkinnedPage(kSkinFile, support_page::kControls), host_(host) {}

void CSupportPage::BuildControl(const skin::ControlRow& row, const skin::ButtonPos& pos,
                                const skin::SkinSheets& sheets) {
    if (row.key == kLanguageKey) {
        settings::SystemSettingsFiles files(win::ProgramFolder());
        language_.CreateFromPos(Hwnd(), PlacedLanguageButton(pos), static_cast<UINT>(row.id),
                                sheets);
        language_.SetHint(LanString(lan::kLanguageChoice));
        language_.SetFaceText(LanguageFace(settings::ReadLanguage(files)));
        return;
    }
    skin::CSkinButton& button = ButtonOfKey(row.key);
    button.CreateFromPos(Hwnd(), pos, static_cast<UINT>(row.id), sheets);
    if (&button != &manual_)
        return;
    // Whatever language the user reads, the manual is in English: the
    // button's hint says so.
    const std::string inEnglish = LanString(lan::kManualInEnglish);
    if (!inEnglish.empty())
        manual_.SetHint(manual_.Hint().empty() ? inEnglish : manual_.Hint() + ". " + inEnglish);
}

skin::CSkinButton& CSupportPage::ButtonOfKey(int key) {
    switch (key) {
        case 1:
            return manual_;
        case 2:
            return report_;
        case 3:
            return forget_;
        default:
            return language_;
    }
}

void CSupportPage::Refresh() {
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

void CSupportPage::PaintOver(HDC dc) {
    win::ScopedGdi<HFONT> font(CreateFontA(skin::SkinPixels(14), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                           FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                           DEFAULT_PITCH | FF_DONTCARE, "Arial"));
    win::ScopedSelect keep(dc, font.Get());
    SetTextColor(dc, kVersionColor);
    DrawVersion(dc, kSoftwareAt, Globals().softwareVersion);
    DrawVersion(dc, kFirmwareAt, Globals().firmwareVersion);
}

LRESULT CSupportPage::OnManual(UINT, UINT code) {
    if (code == BN_CLICKED)
        OpenManual();
    return 0;
}

LRESULT CSupportPage::OnReport(UINT, UINT code) {
    if (code == BN_CLICKED)
        SaveReport();
    return 0;
}

void CSupportPage::SaveReport() {
    if (busy_)
        return;
    busy_ = true;
    HWND main = GetAncestor(Hwnd(), GA_ROOT);
    std::wstring path;
    // Monitor.exe /report PATH asks a running Monitor for its report.
    if (ChooseReportPath(main, path))
        RunAndTell(
            main, L"/report \"" + path + L"\"",
            [](bool saved) { win::DebugText(trace::kSupportReportSaved, saved ? 1 : 0); },
            lan::kReportSaved, lan::kReportNotSaved, L"\n" + path);
    busy_ = false;
}

LRESULT CSupportPage::OnForget(UINT, UINT code) {
    if (code == BN_CLICKED && !busy_) {
        busy_ = true;
        // The device library beside Monitor forgets the channel it
        // remembered; a running Monitor reads the choice anew when it next
        // opens the mouse.
        RunAndTell(GetAncestor(Hwnd(), GA_ROOT), L"/forget-channels",
                   [](bool forgotten) {
                       win::DebugText(trace::kSupportChannelsForgotten, forgotten ? 1 : 0);
                   },
                   lan::kChannelsForgotten, lan::kChannelsNotForgotten, {});
        busy_ = false;
    }
    return 0;
}

LRESULT CSupportPage::OnLanguage(UINT, UINT code) {
    if (code == BN_CLICKED && !busy_)
        ChooseLanguage();
    return 0;
}

void CSupportPage::ChooseLanguage() {
    settings::SystemSettingsFiles files(win::ProgramFolder());
    const std::string setting = settings::ReadLanguage(files);
    const lan::Language* current = setting.empty() ? nullptr : lan::MatchLanguage(setting);
    win::ScopedGdi<HFONT> font(CreateFontW(skin::SkinPixels(15), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                           FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                           DEFAULT_PITCH | FF_DONTCARE, L"Arial"));
    skin::CSkinMenu menu(font.Get());
    menu.Attach();
    menu.SetWidth(kLanguageMenuWidth);
    menu.AppendItem(MF_STRING, LanString(lan::kFollowWindows), kFollowWindowsCommand, nullptr,
                    setting.empty() ? 1 : 0);
    const std::span<const lan::Language> languages = lan::Languages();
    for (std::size_t n = 0; n < languages.size(); ++n) {
        if (languages[n].offeredToUsers)
            menu.AppendItem(MF_STRING, languages[n].ownName,
                            kFirstLanguageCommand + static_cast<UINT>(n), nullptr,
                            current == &languages[n] ? 1 : 0);
    }
    RECT r{};
    GetWindowRect(language_.Hwnd(), &r);
    const auto chosen = static_cast<UINT>(menu.Track(
        TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, r.left, r.bottom, Hwnd()));
    menu.Destroy();
    if (chosen == 0)
        return;
    const std::string locale = chosen == kFollowWindowsCommand
                                   ? std::string()
                                   : languages[chosen - kFirstLanguageCommand].locale;
    if (locale == setting)
        return;
    if (!settings::WriteLanguage(files, locale)) {
        win::DebugText(trace::kSupportLanguageChosen, 0);
        return;
    }
    win::DebugText(trace::kSupportLanguageChosen, 1);
    // Every window of Option is made again in the new language (this page
    // with them, so nothing of it is used after this); Monitor's tray menu
    // reads the choice each time it opens.
    host_.LanguageChosen();
}

void CSupportPage::RunAndTell(HWND main, const std::wstring& arguments,
                              void (*traceDone)(bool done), unsigned doneText, unsigned failedText,
                              const std::wstring& detail) {
    // As a modal dialog would: nothing of the window can be used (or closed)
    // while Monitor works, though it still paints.
    EnableWindow(main, FALSE);
    const bool done = RunMonitorCommand(arguments);
    EnableWindow(main, TRUE);
    SetForegroundWindow(main);
    traceDone(done);
    skin::ThemedMessageBox(main, Widened(LanString(done ? doneText : failedText)) + detail,
                           Widened(LanString(lan::kDiagnosticsCaption)),
                           MB_OK | (done ? MB_ICONINFORMATION : MB_ICONWARNING));
}

void CSupportPage::OpenManual() {
    const std::string path = ManualPath(win::ProgramFolder());
    HWND main = GetAncestor(Hwnd(), GA_ROOT);
    // The shell alone would fail without a word; the user is told instead.
    if (GetFileAttributesW(win::Wide(path).c_str()) == INVALID_FILE_ATTRIBUTES) {
        win::DebugText(trace::kSupportManualMissing);
        TellManualMissing(main, path);
        return;
    }
    const auto result = reinterpret_cast<INT_PTR>(late::ShellExecuteW(
        main, L"open", win::Wide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    win::DebugText("CSupportPage manual opened %d\n", result > 32 ? 1 : 0);
    if (result <= 32)
        TellManualMissing(main, path);
}

}  // namespace option
