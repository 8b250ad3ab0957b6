// COptionDlg: Option's one top-level window, a borderless skinned dialog
// with the profile selectors, the page frame and the Apply road to Monitor.
// What it does to the settings lives in OptionSession; this class turns
// clicks and Monitor's messages into session calls and shows the results.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/settings/ini_file_win.h"
#include "common/settings/mouse_registry_win.h"
#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "option/macro_file_system_win.h"
#include "option/main_window_controls.h"
#include "option/model/dialogs/macro_store.h"
#include "option/model/session/option_session.h"
#include "option/option_globals_win.h"
#include "option/pages/option_page.h"
#include "option/pages/page_host.h"
#include "option/session_ports_win.h"
#include "option/skin/keyboard_nav_win.h"
#include "option/skin/rgn_button_win.h"
#include "option/skin/skin_button_set_win.h"
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_host_win.h"
#include "option/skin/skin_label_win.h"

namespace option {

inline constexpr const char* kWebAddress = "https://www.example.com/";

// The window id of page i (0..3), so that others can find the pages.
constexpr int PageId(int page) {
    return 2000 + page;
}

class COptionDlg : public skin::SkinHost<COptionDlg>, public PageHost, private skin::KeyboardHost {
  public:
    COptionDlg();
    ~COptionDlg() override;

    // Creates the dialog from template 102 and runs it modally.
    INT_PTR RunModal();
    // Starts decoding the skin pictures of the first paint (the window's and
    // its first page's) while the system makes the window.
    static void PrefetchFirstPaint();

    // Operations the pages and dialogs use.
    void SelectProfile(int index);
    void Refresh();
    // Shows the edit block again on every page (after a change that did not
    // come from a page, such as a setting changed on the mouse).
    void RefreshPages() override;
    void Apply(ApplyKind kind);
    // Five default profiles, shown and applied as a reset; the caller has
    // asked the user.
    void RestoreDefaults() override;
    void LanguageChosen() override;
    OptionSession& Session() override { return *session_; }
    // The macro store: the button page lists its macros in the assignment
    // menu and hands it to the macro manager, which saves it on OK and
    // reloads it from the file on cancel.
    MacroFileStore& Macros() override { return macros_; }

    static std::span<const win::MessageRow<COptionDlg>> MessageMap();

  private:
    friend class win::WindowImpl<COptionDlg>;  // the shared groups of rows
    void BuildControl(const skin::ControlRow& row, const skin::ButtonPos& pos,
                      const skin::SkinSheets& sheets);
    void ShowPage(int page);
    // The page of that index, created on first use.
    OptionPage& EnsurePage(int index);
    void SetPendingUi(bool pending);
    void CloseWithoutApplying();
    void ImportProfile();
    void ExportProfile();
    // Keys 4 and 44: the profile dialog on the current profile, filled
    // from it or empty.
    void EditProfile(bool startEmpty);
    void ResetToDefaults();
    void UpdateFirmwareText();
    // The keyboard: Tab walks the window's table with the shown page's in
    // it; Ctrl+Tab switches pages, Ctrl+1..5 profiles.
    void AppendTabOrder(std::vector<HWND>& order) const override;
    skin::ArrowGroup GroupOf(HWND focus) const override;
    bool TakeControlKey(UINT key, skin::KeyModifiers mods) override;

    LRESULT OnCreate();
    LRESULT OnInitDialog();
    LRESULT OnDestroy();
    LRESULT OnPaint();
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnQueryDragIcon();
    LRESULT OnShowIcon();
    LRESULT OnLButtonDown(UINT keys, POINT at);
    LRESULT OnSetCursor();
    LRESULT OnClose();
    LRESULT OnTimer(UINT_PTR id);
    LRESULT OnControlClick(UINT id, UINT code);
    LRESULT OnEnterKey() { return 0; }
    LRESULT OnEscapeKey();
    LRESULT OnProfileChanged();
    LRESULT OnUploadDone();
    LRESULT OnSettingChanged();
    LRESULT OnHint() { return 0; }
    LRESULT OnDpiChanged(UINT dpi, const RECT* suggested);
    LRESULT OnApplyWaitingDpi();
    void ApplyDpi(UINT dpi, const RECT* suggested);
    LRESULT OnLanguageChosen();
    // Destroys the pages and controls and makes them again from the skin:
    // the settings, with any unapplied edits, live in the session, so the
    // new controls show them as they were.
    void RemakeControls();
    // Builds the window's controls from the skin and applies its outline.
    void BuildSkin();

    settings::SystemSettingsFiles files_;
    settings::SystemMouseRegistry registry_;
    SharedLinkWin link_;
    PeerWindowsWin peers_;
    MacroFileSystem macroFiles_;
    MacroFileStore macros_{macroFiles_.Files(), files_.Files().Folder()};
    std::unique_ptr<OptionSession> session_;

    HICON icon_ = nullptr;
    skin::SkinSurface surface_;
    skin::SkinButtonSet<main_window::kControls> buttons_;
    std::array<skin::CRgnButton, 5> selectors_;
    std::array<skin::CSkinLabel, 5> hints_;
    skin::CSkinLabel profileName_;
    std::array<std::unique_ptr<OptionPage>, kPageCount> pages_;
    RECT pageArea_{};
    int currentPage_ = 0;
    bool started_ = false;  // the settings are loaded: new pages show them
    bool painted_ = false;  // the window and its controls were painted once
    HWND focusBeforeApply_ = nullptr;
    // A change of scale that came while a dialog or menu was open.
    struct WaitingDpi {
        UINT dpi;
        bool hasRect;
        RECT suggested;
    };
    std::optional<WaitingDpi> waitingDpi_;
};

}  // namespace option
