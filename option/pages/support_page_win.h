// The support page: the program and firmware versions written onto the skin
// picture, the button that opens the user manual beside the program, and the
// one that saves Monitor's diagnostics report where the user chooses.
#pragma once

#include <windows.h>

#include <string>

#include "common/win/window.h"
#include "option/pages/option_page.h"
#include "option/pages/support_page_controls.h"
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_host_win.h"
#include "option/skin/skin_loader_win.h"

namespace option {

// "<folder>User Manual.pdf" for a program folder that ends with its separator.
std::string ManualPath(const std::string& programFolder);

class CSupportPage : public skin::SkinHost<CSupportPage>, public OptionPage {
  public:
    bool Create(HWND parent, const RECT& area) override;
    HWND Window() const override { return Hwnd(); }
    // The firmware version may have changed with a reload.
    void Refresh() override;
    std::span<const skin::ControlRow> Controls() const override { return support_page::kControls; }

    static std::span<const win::MessageRow<CSupportPage>> MessageMap();

  private:
    void OpenManual();
    void SaveReport();

    LRESULT OnPaint();
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnLButtonDown(UINT keys, POINT at);
    LRESULT OnManual(UINT id, UINT code);
    LRESULT OnReport(UINT id, UINT code);

    skin::SkinSurface surface_;
    skin::CSkinButton manual_;
    skin::CSkinButton report_;
    // A report is being saved: the button does nothing until it is done.
    bool savingReport_ = false;
};

}  // namespace option
