// Skin description files, skin pictures and the one recipe by which every
// skinned window of Option builds itself.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <span>
#include <string>

#include "common/win/scoped_win.h"
#include "option/skin/button_pos.h"

namespace skin {

// A bitmap handle with one owner (the "target bitmap object" of the loader).
using SkinBitmap = win::ScopedGdi<HBITMAP>;

// The process-wide skins folder (with a trailing backslash). Option sets it
// once when its main window is created; until then it is the program folder
// followed by "skins\". SetSkinFolder names the folder of the 100 % set;
// SkinFolder() is the folder of the set in use, which the last skinned
// window created chose for its display scale (see InitSkin).
const std::string& SkinFolder();
void SetSkinFolder(std::string folder);
std::string DefaultSkinFolder();

// The scale of the skin set in use in percent (100 for the skins folder
// itself). Everything a control draws in code (fonts, its own parts, hit
// areas) is sized by it, so that it matches the set's pictures.
int SkinScale();
// A length given in 100 % pixels at the scale of the set in use.
int SkinPixels(int value);

// Makes the first usable skin set for a window at `dpi` the set in use
// (SkinFolder()): the nearest set at or above the scale, then each smaller
// one, 100 % last. A set is usable when its copy of `skinFile` names a Normal
// picture that decodes; that picture is left in `normal` with its size.
// Returns 1 when a set was usable; otherwise the 100 % set is in use.
int ChooseSkinSet(UINT dpi, const std::string& skinFile, SkinBitmap& normal, SIZE& size);

// The value of a key, "" by default, through the profile-string reader with
// a buffer of 2048 characters (longer values are cut to 2047).
std::string ReadSkinString(const std::string& iniPath, const char* section, const char* key);

// Loads a picture through the system picture service into `target`,
// replacing what it held, and writes the picture's size. A missing or
// undecodable file leaves an empty 0 x 0 bitmap in `target`, writes a debug
// trace and returns 0; success returns 1.
int LoadSkinPicture(const std::string& path, SkinBitmap& target, SIZE& size);

// The four state sheets of a window, alive only during its init-skin step.
struct SkinSheets {
    SkinBitmap normal;
    SkinBitmap over;
    SkinBitmap down;
    SkinBitmap disable;
};

// A fixed image a window's controls need ("slider.bmp", ...).
struct FixedImage {
    const char* name;
    SkinBitmap* target;
    SIZE* size;  // may be null
};

// Called for each BUTTONPOS key, in the window's order, with the parsed
// placement and the sheets; it creates and sets up the control.
using ControlMaker = std::function<void(std::size_t index, const char* key, const ButtonPos& pos,
                                        const SkinSheets& sheets)>;

// What a skinned window keeps from its skin: the mask, the background (a
// copy of the Normal picture) and the region applied to the window.
class SkinSurface {
  public:
    SkinSurface() = default;
    SkinSurface(const SkinSurface&) = delete;
    SkinSurface& operator=(const SkinSurface&) = delete;

    // The init-skin step: a top-level window chooses the skin set for its
    // display scale (the nearest set at or above it whose description file
    // and Normal picture load, else the next smaller set, 100 % last) and
    // makes it the set in use; a child window uses the set in use. Reads
    // `skinFile` from the set,
    // loads the mask, the four sheets and the background, moves the window to
    // (0, 0) of its parent sized to the Normal picture, creates the controls
    // of `keys` through `make`, loads `fixedImages` and releases the sheets.
    // Returns 1 when the description file and the Normal picture were read.
    int InitSkin(HWND hwnd, const std::string& skinFile, std::span<const char* const> keys,
                 const ControlMaker& make, std::span<const FixedImage> fixedImages = {});

    // The DPI the next InitSkin chooses the set for, instead of the window's
    // own (a window told of a new DPI before the system reports it).
    void UseDpi(UINT dpi) { dpi_ = dpi; }

    // Builds the region from the mask (white, tolerance 0) and applies it;
    // the window owns the applied region, Region() is the surface's own copy.
    // Returns 1 when a region was set.
    int ApplyShape(HWND hwnd);

    // WM_PAINT of a skinned window: background at (0, 0) in an off-screen
    // bitmap of the client size, then `drawTexts` (transparent text
    // background already set), then one block transfer to the screen.
    void Paint(HWND hwnd, const std::function<void(HDC)>& drawTexts = {}) const;

    HBITMAP Mask() const { return mask_.Get(); }
    HBITMAP Background() const { return background_.Get(); }
    HRGN Region() const { return region_.Get(); }
    SIZE Size() const { return size_; }

  private:
    SkinBitmap mask_;
    SkinBitmap background_;
    win::ScopedGdi<HRGN> region_;  // a copy of the applied region
    SIZE size_{0, 0};
    UINT dpi_ = 0;
};

// A left-button press on the body of a skinned window: lets the system move
// the window (or, for a page inside the main window, the page's parent) as
// if the caption had been pressed. Call it from WM_LBUTTONDOWN and then run
// the default handling.
void DragByBody(HWND hwnd, POINT clientPoint, bool isChildPage);

// Cuts the rectangle `r` (window client coordinates) of `sheet` into a new
// bitmap compatible with `reference`'s display context; null for an empty
// sheet or an empty rectangle.
HBITMAP CutImage(HWND reference, HBITMAP sheet, const RECT& r);

// The rectangle `part` of `picture` copied into a new bitmap of `size`
// (stretched in `stretchMode` when the sizes differ); null for an empty
// picture or size.
HBITMAP CopyPicturePart(HWND reference, HBITMAP picture, const RECT& part, SIZE size,
                        int stretchMode);

inline RECT ToRect(const PosRect& p) {
    return RECT{p.left, p.top, p.right, p.bottom};
}

}  // namespace skin
