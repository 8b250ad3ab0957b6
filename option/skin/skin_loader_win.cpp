#include "option/skin/skin_loader_win.h"

#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include <utility>
#include <vector>

#include "common/win/dpi_win.h"
#include "common/win/program_folder_win.h"
#include "common/win/scoped_win.h"
#include "option/skin/region_win.h"
#include "option/skin/scale_sets.h"

namespace skin {
namespace {

struct Folders {
    std::string base = DefaultSkinFolder();  // the 100 % set
    std::string inUse = base;
    int percent = kScaleSets.front();
};

Folders& FolderStore() {
    static Folders folders;
    return folders;
}

// Decodes a whole file held in movable memory; returns a bitmap the caller
// owns, or null.
HBITMAP DecodePicture(win::ScopedGlobal memory, DWORD length) {
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory.Get(), TRUE, &stream)) || stream == nullptr)
        return nullptr;
    // The stream frees the memory block when it is released.
    memory.Release();
    IPicture* picture = nullptr;
    const HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(length), FALSE, IID_IPicture,
                                      reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(hr) || picture == nullptr)
        return nullptr;

    HBITMAP owned = nullptr;
    SHORT type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP &&
        SUCCEEDED(picture->get_Handle(&handle)) && handle != 0) {
        // The picture object deletes its own bitmap when released, so the
        // target gets a copy that it alone owns.
        owned = static_cast<HBITMAP>(CopyImage(
            reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, 0));
    }
    picture->Release();
    return owned;
}

}  // namespace

std::string DefaultSkinFolder() {
    return win::ProgramFolder() + "skins\\";
}

const std::string& SkinFolder() {
    return FolderStore().inUse;
}

void SetSkinFolder(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder.push_back('\\');
    FolderStore().base = folder;
    FolderStore().inUse = std::move(folder);
    FolderStore().percent = kScaleSets.front();
}

int SkinScale() {
    return FolderStore().percent;
}

int SkinPixels(int value) {
    return MulDiv(value, SkinScale(), 100);
}

int ChooseSkinSet(UINT dpi, const std::string& skinFile, SkinBitmap& normal, SIZE& size) {
    Folders& folders = FolderStore();
    for (const int percent : ScaleSetOrder(win::ScalePercent(dpi)).Sets()) {
        const std::string folder = folders.base + ScaleSetSubfolder(percent);
        const std::string normalName = ReadSkinString(folder + skinFile, "SCREEN", "Normal");
        if (!normalName.empty() && LoadSkinPicture(folder + normalName, normal, size) != 0) {
            folders.inUse = folder;
            folders.percent = percent;
            return 1;
        }
        win::DebugText("ChooseSkinSet skipped %d\n", percent);
    }
    folders.inUse = folders.base;
    folders.percent = kScaleSets.front();
    return 0;
}

std::string ReadSkinString(const std::string& iniPath, const char* section, const char* key) {
    char buffer[2048];
    buffer[0] = '\0';
    GetPrivateProfileStringA(section, key, "", buffer, sizeof buffer, iniPath.c_str());
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

int LoadSkinPicture(const std::string& path, SkinBitmap& target, SIZE& size) {
    size = SIZE{0, 0};
    target.Reset();

    win::ScopedFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        win::DebugText("LoadSkinPicture missing %s\n", path.c_str());
        return 0;
    }
    const DWORD length = GetFileSize(file.Get(), nullptr);
    win::ScopedGlobal memory(
        length == INVALID_FILE_SIZE || length == 0 ? nullptr : GlobalAlloc(GMEM_MOVEABLE, length));
    bool read = false;
    if (memory) {
        void* bytes = GlobalLock(memory.Get());
        DWORD got = 0;
        read =
            bytes != nullptr && ReadFile(file.Get(), bytes, length, &got, nullptr) && got == length;
        GlobalUnlock(memory.Get());
    }
    file.Reset();
    if (!read) {
        win::DebugText("LoadSkinPicture unreadable %s\n", path.c_str());
        return 0;
    }

    HBITMAP bitmap = DecodePicture(std::move(memory), length);
    if (bitmap == nullptr) {
        win::DebugText("LoadSkinPicture undecodable %s\n", path.c_str());
        return 0;
    }
    target.Reset(bitmap);
    BITMAP info{};
    if (GetObjectA(bitmap, sizeof info, &info) != 0) {
        size.cx = info.bmWidth;
        size.cy = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    }
    return 1;
}

HBITMAP CutImage(HWND reference, HBITMAP sheet, const RECT& r) {
    return CopyPicturePart(reference, sheet, r, SIZE{r.right - r.left, r.bottom - r.top}, 0);
}

HBITMAP CopyPicturePart(HWND reference, HBITMAP picture, const RECT& part, SIZE size,
                        int stretchMode) {
    const int w = part.right - part.left;
    const int h = part.bottom - part.top;
    if (picture == nullptr || w <= 0 || h <= 0 || size.cx <= 0 || size.cy <= 0)
        return nullptr;
    const win::ScopedWindowDc screen(reference);
    HBITMAP image = CreateCompatibleBitmap(screen.Get(), size.cx, size.cy);
    const win::ScopedDc from(CreateCompatibleDC(screen.Get()));
    const win::ScopedDc to(CreateCompatibleDC(screen.Get()));
    if (image != nullptr && from && to) {
        const win::ScopedSelect usePicture(from.Get(), picture);
        const win::ScopedSelect useImage(to.Get(), image);
        if (size.cx == w && size.cy == h) {
            BitBlt(to.Get(), 0, 0, w, h, from.Get(), part.left, part.top, SRCCOPY);
        } else {
            SetStretchBltMode(to.Get(), stretchMode);
            SetBrushOrgEx(to.Get(), 0, 0, nullptr);
            StretchBlt(to.Get(), 0, 0, size.cx, size.cy, from.Get(), part.left, part.top, w, h,
                       SRCCOPY);
        }
    }
    return image;
}

int SkinSurface::InitSkin(HWND hwnd, const std::string& skinFile, std::span<const char* const> keys,
                          const ControlMaker& make, std::span<const FixedImage> fixedImages) {
    SkinSheets sheets;
    int haveNormal = 0;
    const bool child = (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD) != 0;
    if (child) {
        // A page inside a window draws with that window's set.
        haveNormal = LoadSkinPicture(
            SkinFolder() + ReadSkinString(SkinFolder() + skinFile, "SCREEN", "Normal"),
            sheets.normal, size_);
    } else {
        const UINT dpi = dpi_ != 0 ? dpi_ : win::DpiForWindow(hwnd);
        haveNormal = ChooseSkinSet(dpi, skinFile, sheets.normal, size_);
    }
    const std::string& folder = SkinFolder();
    const std::string path = folder + skinFile;
    const std::string maskName = ReadSkinString(path, "SCREEN", "Mask");
    const std::string overName = ReadSkinString(path, "SCREEN", "Over");
    const std::string downName = ReadSkinString(path, "SCREEN", "Down");
    const std::string disableName = ReadSkinString(path, "SCREEN", "Disable");

    SIZE ignored{};
    LoadSkinPicture(folder + maskName, mask_, ignored);
    LoadSkinPicture(folder + overName, sheets.over, ignored);
    LoadSkinPicture(folder + downName, sheets.down, ignored);
    LoadSkinPicture(folder + disableName, sheets.disable, ignored);
    // The background is the Normal sheet: copied, not decoded a second time
    // (decoding is most of a window's start).
    background_.Reset(haveNormal != 0 ? static_cast<HBITMAP>(
                                            CopyImage(sheets.normal.Get(), IMAGE_BITMAP, 0, 0, 0))
                                      : nullptr);

    // Client of the Normal picture's size at (0, 0) of the parent (or screen).
    RECT frame{0, 0, size_.cx, size_.cy};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_EXSTYLE)));
    SetWindowPos(hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd, nullptr, TRUE);

    for (std::size_t i = 0; i < keys.size(); ++i) {
        ButtonPos pos;
        ParseButtonPos(ReadSkinString(path, "BUTTONPOS", keys[i]), pos);
        if (make)
            make(i, keys[i], pos, sheets);
    }
    for (const FixedImage& image : fixedImages) {
        if (image.target == nullptr)
            continue;
        SIZE s{};
        LoadSkinPicture(folder + image.name, *image.target, s);
        if (image.size != nullptr)
            *image.size = s;
    }
    return background_ ? 1 : 0;  // the sheets go out of scope here
}

int SkinSurface::ApplyShape(HWND hwnd) {
    win::ScopedGdi<HRGN> region(
        CreateRegionFromMask(mask_.Get(), RGB(255, 255, 255), RGB(0, 0, 0)));
    if (!region)
        return 0;
    // The window owns (and may at once delete) the handle it is given, so the
    // surface keeps its own copy for hit tests.
    win::ScopedGdi<HRGN> copy(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(copy.Get(), region.Get(), nullptr, RGN_COPY);
    if (!win::GiveWindowRegion(hwnd, std::move(region), true))
        return 0;
    region_ = std::move(copy);
    return 1;
}

void SkinSurface::Paint(HWND hwnd, const std::function<void(HDC)>& drawTexts) const {
    const win::ScopedPaint paint(hwnd);
    const HDC dc = paint.Get();
    RECT client;
    GetClientRect(hwnd, &client);
    const int w = client.right;
    const int h = client.bottom;
    const win::ScopedDc memoryDc(CreateCompatibleDC(dc));
    const HDC memory = memoryDc.Get();
    const win::ScopedGdi<HBITMAP> canvas(CreateCompatibleBitmap(dc, w > 0 ? w : 1, h > 0 ? h : 1));
    const win::ScopedSelect useCanvas(memory, canvas.Get());
    if (background_) {
        const win::ScopedDc source(CreateCompatibleDC(dc));
        const win::ScopedSelect useBackground(source.Get(), background_.Get());
        BitBlt(memory, 0, 0, w, h, source.Get(), 0, 0, SRCCOPY);
    }
    SetBkMode(memory, TRANSPARENT);
    if (drawTexts)
        drawTexts(memory);
    BitBlt(dc, 0, 0, w, h, memory, 0, 0, SRCCOPY);
}

void DragByBody(HWND hwnd, POINT clientPoint, bool isChildPage) {
    POINT p = clientPoint;
    ClientToScreen(hwnd, &p);
    HWND target = isChildPage ? GetParent(hwnd) : hwnd;
    if (target == nullptr)
        return;
    PostMessageA(target, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(p.x, p.y));
}

}  // namespace skin
