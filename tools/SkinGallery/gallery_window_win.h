// The gallery: one skinned window with every kind of skinned control, built
// by the recipe from a skin description file, that lists the messages its
// controls send.
#pragma once

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "option/skin/bitmap_edit_win.h"
#include "option/skin/color_picker_win.h"
#include "option/skin/color_swatch_button_win.h"
#include "option/skin/fill_slider_win.h"
#include "option/skin/rgn_button_win.h"
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_host_win.h"
#include "option/skin/skin_label_win.h"
#include "option/skin/slider_track_win.h"
#include "option/skin/spin_box_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/word_check.h"

namespace gallery {

inline constexpr const char* kGalleryTitle = "SkinGallery";

enum ControlId : UINT {
    kIdPush = 1001,
    kIdLatch,
    kIdSwatch,
    kIdRgn,
    kIdSlider,
    kIdFill,
    kIdSpin,
    kIdEdit,
    kIdLabel,
    kIdPicker,
    kIdMenuButton,
    kIdFace,
};

inline constexpr UINT kMenuLeft = 2001;
inline constexpr UINT kMenuRight = 2002;
inline constexpr UINT kMenuSubItem = 2003;

class GalleryWindow : public skin::SkinHost<GalleryWindow> {
  public:
    GalleryWindow() = default;
    ~GalleryWindow() override;

    // Builds the window from `skinFile` in the current skins folder.
    bool Create(const std::string& skinFile, const std::string& logPath = {});

    // Shows the gallery's popup menu under its menu button and waits for it.
    void ShowMenu();

    const std::vector<std::string>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }
    const skin::SkinSurface& Surface() const { return surface_; }

    skin::CSkinButton push, latch, face, menuButton;
    skin::CColorSwatchButton swatch;
    skin::CRgnButton rgn;
    skin::SliderTrack slider;
    skin::CFillSlider fill;
    skin::CSpinBox spin;
    skin::CBitmapEdit edit;
    skin::CSkinLabel label;
    skin::CColorPicker picker;

    static std::span<const win::MessageRow<GalleryWindow>> MessageMap();

  private:
    friend class win::WindowImpl<GalleryWindow>;  // the shared groups of rows
    void Note(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void MakeControl(std::size_t index, const skin::ButtonPos& pos, const skin::SkinSheets& sheets);

    LRESULT OnCreate();
    LRESULT OnPaint();
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnLButtonDown(UINT keys, POINT at);
    LRESULT OnCommand(UINT id, UINT code);
    // A control's notice with two numbers (a value and the control, or the
    // key pressed and 0), noted under `Name`.
    template <const char* Name>
    LRESULT OnNumbers(win::WParam<int> first, win::LParam<int> second) {
        Note("%s %d %d", Name, first.value, second.value);
        return 0;
    }
    LRESULT OnPicked();
    LRESULT OnHover(win::WParam<int> hover, win::LParam<int> tag);
    LRESULT OnHint(win::WParam<int> hover);
    LRESULT OnEditCommit();
    LRESULT OnDestroy();

    skin::SkinSurface surface_;
    std::string skinFile_;
    std::string logPath_;
    std::vector<std::string> log_;
    win::ScopedGdi<HFONT> logFont_;
};

// Renders a skin description file as the four state pictures
// <out>/<base>_normal.bmp, _over.bmp, _down.bmp and _disable.bmp, and writes
// beside them <out>/<base>_words.txt: the faults the words show as drawn (one
// a line, none when they are sound; see skin::WordFindings, which takes
// `cutWords`). Returns 0 on success; otherwise fills `error`.
int RenderSkin(const std::string& iniPath, const std::string& outFolder,
               skin::CutWords cutWords, std::string& error);

// Writes a bitmap as a 24-bit BMP.
bool SaveBitmap(HBITMAP bitmap, const std::string& path);
// Writes the screen area of a window as a 24-bit BMP.
bool SaveWindowShot(HWND hwnd, const std::string& path);

}  // namespace gallery
