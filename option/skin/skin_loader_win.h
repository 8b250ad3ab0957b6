// Skin description files, skin pictures and the one recipe by which every
// skinned window of Option builds itself.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "common/win/scoped_win.h"
#include "option/skin/button_pos.h"
#include "option/skin/control_math.h"
#include "option/skin/control_table.h"
#include "option/skin/window_words_win.h"

namespace skin {

// A bitmap handle with one owner (the "target bitmap object" of the loader).
using SkinBitmap = win::ScopedGdi<HBITMAP>;

// The process-wide skins folder (with a trailing backslash). Option sets it
// once when its main window is created; until then it is the program folder
// followed by "skins\". SetSkinFolder names the folder of the 100 % set;
// SkinFolder() is the folder of the set in use: inside a message of a
// skinned window the set its top-level window chose for its display scale
// (see InitSkin), elsewhere the set chosen last.
std::string SkinFolder();
void SetSkinFolder(std::string folder);
std::string DefaultSkinFolder();

// The scale of the skin set in use in percent (100 for the skins folder
// itself), chosen as SkinFolder() is. Everything a control draws in code (fonts, its own parts, hit
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

// Loads a picture (JPEG, BMP, ...) through the system's imaging codecs into `target`,
// replacing what it held, and writes the picture's size. A missing or
// undecodable file leaves an empty 0 x 0 bitmap in `target`, writes a debug
// trace and returns 0; success returns 1.
int LoadSkinPicture(const std::string& path, SkinBitmap& target, SIZE& size);

// Cuts the rectangle `r` (window client coordinates) of `sheet` into a new
// bitmap compatible with `reference`'s display context; null for an empty
// sheet or an empty rectangle.
HBITMAP CutImage(HWND reference, HBITMAP sheet, const RECT& r);

// The rectangle `part` of `picture` copied into a new bitmap of `size`
// (stretched in `stretchMode` when the sizes differ); null for an empty
// picture or size.
HBITMAP CopyPicturePart(HWND reference, HBITMAP picture, const RECT& part, SIZE size,
                        int stretchMode);

// The same for a 32-bit top-down section, as the loader decodes every
// picture into, by copying its rows (the system does not tell a section's
// row order, so only the loader's own sheets may come here).
HBITMAP CutTopDownSection(HBITMAP sheet, const RECT& r);

// The four state sheets of a window (Normal, Over, Down, Disable). Each is
// decoded when something first asks for it: at the first paint most controls
// show only their normal image, and decoding is most of a window's start. The
// window and its controls share them (make them with std::make_shared); the
// last owner releases them.
class SkinSheets : public std::enable_shared_from_this<SkinSheets> {
  public:
    static constexpr std::size_t kCount = 4;

    // Full paths of the four pictures, in the order of ButtonImage.
    explicit SkinSheets(std::array<std::string, kCount> paths) : paths_(std::move(paths)) {}
    SkinSheets(const SkinSheets&) = delete;
    SkinSheets& operator=(const SkinSheets&) = delete;

    // The sheet of `state`, decoded on the first call; null when the picture
    // is missing or cannot be decoded.
    HBITMAP Get(ButtonImage state) const;
    // Takes `picture`, already decoded from the path of `state`, as that sheet.
    void Adopt(ButtonImage state, SkinBitmap picture, SIZE size);
    // The size of the Normal picture (decoding it), 0 x 0 without one.
    SIZE NormalSize() const;
    // The rectangle `r` of the sheet of `state` as a new bitmap; null for an
    // empty sheet or rectangle.
    HBITMAP Cut(ButtonImage state, const RECT& r) const { return CutTopDownSection(Get(state), r); }
    std::shared_ptr<const SkinSheets> Share() const { return shared_from_this(); }

  private:
    std::array<std::string, kCount> paths_;
    mutable std::array<SkinBitmap, kCount> sheets_;
    mutable std::array<SIZE, kCount> sizes_{};
    mutable std::array<bool, kCount> decoded_{};
};

// A fixed image a window's controls need ("slider.bmp", ...).
struct FixedImage {
    const char* name;
    SkinBitmap* target;
    SIZE* size;  // may be null
};

// Adds to `paths` the pictures that the `SCREEN` keys `screenKeys` ("Normal",
// "Mask", ...) of `skinFile` name in the set for the system's scale: what a
// window about to be made shows at its first paint, to decode beforehand
// (PrefetchPictures).
void AddSkinPictures(const std::string& skinFile, std::span<const char* const> screenKeys,
                     std::vector<std::string>& paths);

// Called for each BUTTONPOS key, in the window's order, with the parsed
// placement and the sheets; it creates and sets up the control.
using ControlMaker = std::function<void(std::size_t index, const char* key, const ButtonPos& pos,
                                        const SkinSheets& sheets)>;

// Called for each row of a window's control table that the skin places, in
// the table's order, with the row's placement and the sheets.
using RowMaker =
    std::function<void(const ControlRow& row, const ButtonPos& pos, const SkinSheets& sheets)>;

// What a skinned window keeps from its skin: the mask, the state sheets (the
// Normal one is the background) and the region applied to the window.
class SkinSurface {
  public:
    SkinSurface() = default;
    SkinSurface(const SkinSurface&) = delete;
    SkinSurface& operator=(const SkinSurface&) = delete;

    // The init-skin step: a top-level window chooses the skin set for its
    // display scale (ChooseSkinSet) and keeps it as its own; a child window
    // uses the set of its top-level window. Reads `skinFile` from the set,
    // loads the mask and the Normal sheet, moves the window to (0, 0) of its
    // parent sized to the Normal picture, lays out the window's words,
    // creates the controls of `keys` through `make` and loads `fixedImages`.
    // The other sheets are decoded
    // when a control first shows their state. Returns 1 when the description
    // file and the Normal picture were read.
    int InitSkin(HWND hwnd, const std::string& skinFile, std::span<const char* const> keys,
                 const ControlMaker& make, std::span<const FixedImage> fixedImages = {});

    // InitSkin for the rows of a window's control table: `make` makes the
    // control of each row the skin places, and each control with a
    // [CAPTION] row is sent its word.
    int InitSkinControls(HWND hwnd, const std::string& skinFile,
                         std::span<const ControlRow> controls, const RowMaker& make,
                         std::span<const FixedImage> fixedImages = {});

    // The DPI the next InitSkin chooses the set for, instead of the window's
    // own (a window told of a new DPI before the system reports it).
    void UseDpi(UINT dpi) { dpi_ = dpi; }

    // Builds the region from the mask (white, tolerance 0) and applies it;
    // the window owns the applied region, Region() is the surface's own copy.
    // Returns 1 when a region was set.
    int ApplyShape(HWND hwnd);

    // WM_PAINT of a skinned window: background at (0, 0) in an off-screen
    // bitmap of the client size, then the skin's [TEXT] words, then
    // `drawTexts` (transparent text background already set), then one block
    // transfer to the screen. Without words or `drawTexts` the background
    // goes to the screen directly.
    void Paint(HWND hwnd, const std::function<void(HDC)>& drawTexts = {}) const;
    // The same into `dc`, for a client area `client`.
    void PaintInto(HDC dc, const RECT& client,
                   const std::function<void(HDC)>& drawTexts = {}) const;

    // Draws only the skin's [TEXT] words into `dc`.
    void PaintWords(HDC dc) const { words_.Paint(dc); }
    std::vector<DrawnWord> MeasureWords(HDC dc) const { return words_.MeasureTexts(dc); }

    HBITMAP Mask() const { return mask_.Get(); }
    HBITMAP Background() const { return sheets_ ? sheets_->Get(ButtonImage::Normal) : nullptr; }
    HRGN Region() const { return region_.Get(); }
    SIZE Size() const { return size_; }

  private:
    SkinBitmap mask_;
    std::shared_ptr<const SkinSheets> sheets_;
    win::ScopedGdi<HRGN> region_;  // a copy of the applied region
    WindowWords words_;
    SIZE size_{0, 0};
    UINT dpi_ = 0;
};

// A left-button press on the body of a skinned window: lets the system move
// the window (or, for a page inside the main window, the page's parent) as
// if the caption had been pressed. Call it from WM_LBUTTONDOWN and then run
// the default handling.
void DragByBody(HWND hwnd, POINT clientPoint, bool isChildPage);

inline RECT ToRect(const PosRect& p) {
    return RECT{p.left, p.top, p.right, p.bottom};
}

}  // namespace skin
