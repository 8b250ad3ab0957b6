// The macro manager: a skinned modal dialog that shows the macro editor's
// state and forwards the user's actions to it. Everything it decides about
// macros lives in MacroEditor; this class only draws and routes.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "option/dialogs/macro_list_box_win.h"
#include "option/dialogs/macro_manager_controls.h"
#include "option/dialogs/skin_dialog_win.h"
#include "option/key_capture_hook_win.h"
#include "option/model/dialogs/macro_editor.h"

namespace option {

inline constexpr const char* kMacroManagerTitle = " Gaming Mouse Macro Manager";

class CMacroManagerDlg : public SkinDialog<CMacroManagerDlg> {
  public:
    ~CMacroManagerDlg() override { DestroyWindowNow(); }
    CMacroManagerDlg(MacroFileStore& store, std::string selectName);

    // Runs the dialog modally; true when it was closed with OK.
    bool Run(HWND owner);

    static std::span<const Row> MessageMap();

  private:
    friend class SkinDialog<CMacroManagerDlg>;
    friend class skin::SkinHost<CMacroManagerDlg>;

    void Build(const skin::ControlRow& row, const skin::ButtonPos& pos,
               const skin::SkinSheets& sheets);
    void ShowMacros();
    void ShowValues() {
        ShowMacros();
        ShowSelectedMacro();
    }
    void ShowSelectedMacro();
    void ShowEvents();
    void ShowRepeat();
    void SetRecordImages(bool recording);
    void Apply(EditorOutcome outcome);
    void StartRecordingUi();
    void StopRecordingUi();
    // At `at`, screen coordinates.
    void OpenContextMenu(POINT at);
    // The editor's item for the event list's current selection, -1 for none.
    int SelectedEventItem() const;

    LRESULT OnInitDialog();
    LRESULT OnDestroy();
    LRESULT OnButton(UINT id, UINT code);
    LRESULT OnMacroList(UINT id, UINT code);
    LRESULT OnMenuCommand(UINT id);
    LRESULT OnEditCommitted(win::WParam<int> item, win::LParam<UINT> list);
    LRESULT OnListRightClick(win::WParam<bool> byKeys, win::LParam<UINT> list);
    LRESULT OnListDeleteKey(win::LParam<UINT> list);
    LRESULT OnCapturedKey(win::WParam<UINT> virtualKey, win::LParam<UINT> flags);
    // The repeat edit changed or lost the focus; only the latter corrects it.
    LRESULT OnRepeatEditNotice();
    // Takes the repeat edit's text as the count and shows it corrected.
    LRESULT CommitRepeatCount();
    LRESULT OnCtlColorList(HDC dc, HWND control);
    // The two lists' own items; the skinned menus' are the host's.
    bool MeasureOwnItem(UINT id, MEASUREITEMSTRUCT& item);
    bool DrawOwnItem(UINT id, const DRAWITEMSTRUCT& item);

    MacroEditor editor_;
    std::string selectName_;
    HWND owner_ = nullptr;
    std::array<skin::CSkinButton, 10> buttons_;  // by key 1..9; 6 is a list
    CMacroListBox macroList_;
    CMacroListBox eventList_;
    skin::CBitmapEdit repeatEdit_;
    RECT recordRect_{};
    std::array<skin::SkinBitmap, 3> startImages_;
    std::array<skin::SkinBitmap, 3> stopImages_;
    ScopedKeyCapture capture_;
};

}  // namespace option
