// The support page: the program and firmware versions written onto the skin
// picture, the button that opens the user manual beside the program, the one
// that saves Monitor's diagnostics report where the user chooses, the one
// that has the device library forget the channel it remembered, and the one
// that chooses the language of the programs.
#pragma once

#include <windows.h>

#include <string>

#include "common/win/window.h"
#include "option/pages/page_host.h"
#include "option/pages/skinned_page_win.h"
#include "option/pages/support_page_controls.h"
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_loader_win.h"

namespace option {

// "<folder>User Manual.pdf" for a program folder that ends with its separator.
std::string ManualPath(const std::string& programFolder);

class CSupportPage : public SkinnedPage<CSupportPage> {
  public:
    explicit CSupportPage(PageHost& host);

    // The firmware version may have changed with a reload.
    void Refresh() override;

    static std::span<const win::MessageRow<CSupportPage>> MessageMap();

  private:
    friend class SkinnedPage<CSupportPage>;

    void BuildControl(const skin::ControlRow& row, const skin::ButtonPos& pos,
                      const skin::SkinSheets& sheets);
    // The program and firmware versions, over the skin.
    void PaintOver(HDC dc);
    void OpenManual();
    void SaveReport();
    // The language menu under its button; a choice is written to config.ini
    // at once, as the page's other buttons act at once.
    void ChooseLanguage();
    skin::CSkinButton& ButtonOfKey(int key);
    // Runs Monitor.exe with `arguments`, the window disabled meanwhile, and
    // tells the user how it went (`detail` after the text); the debugger
    // output says "CSupportPage <what> 1" (or 0).
    void RunAndTell(HWND main, const std::wstring& arguments, void (*traceDone)(bool done),
                    unsigned doneText, unsigned failedText, const std::wstring& detail);

    LRESULT OnManual(UINT id, UINT code);
    LRESULT OnReport(UINT id, UINT code);
    LRESULT OnForget(UINT id, UINT code);
    LRESULT OnLanguage(UINT id, UINT code);

    PageHost& host_;
    skin::CSkinButton manual_;
    skin::CSkinButton report_;
    skin::CSkinButton forget_;
    skin::CSkinButton language_;
    // Monitor carries out a report or a forgetting: the buttons do nothing
    // until it is done.
    bool busy_ = false;
};

}  // namespace option
