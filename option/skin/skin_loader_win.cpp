#include "option/skin/skin_loader_win.h"

#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include <vector>

#include "common/win/program_folder_win.h"
#include "option/skin/region_win.h"

namespace skin {
namespace {

std::string& FolderStore() {
    static std::string folder = DefaultSkinFolder();
    return folder;
}

// Decodes a whole file held in movable memory; returns a bitmap the caller
// owns, or null.
HBITMAP DecodePicture(HGLOBAL memory, DWORD length) {
    IStream* stream = nullptr;
    // The stream frees the memory block when it is released.
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream)) || stream == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
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
    return FolderStore();
}

void SetSkinFolder(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder.push_back('\\');
    FolderStore() = std::move(folder);
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
    target.Delete();

    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        win::DebugText("LoadSkinPicture missing %s\n", path.c_str());
        return 0;
    }
    const DWORD length = GetFileSize(file, nullptr);
    HGLOBAL memory =
        length == INVALID_FILE_SIZE || length == 0 ? nullptr : GlobalAlloc(GMEM_MOVEABLE, length);
    bool read = false;
    if (memory != nullptr) {
        void* bytes = GlobalLock(memory);
        DWORD got = 0;
        read = bytes != nullptr && ReadFile(file, bytes, length, &got, nullptr) && got == length;
        GlobalUnlock(memory);
    }
    CloseHandle(file);
    if (!read) {
        if (memory != nullptr)
            GlobalFree(memory);
        win::DebugText("LoadSkinPicture unreadable %s\n", path.c_str());
        return 0;
    }

    HBITMAP bitmap = DecodePicture(memory, length);
    if (bitmap == nullptr) {
        win::DebugText("LoadSkinPicture undecodable %s\n", path.c_str());
        return 0;
    }
    target.Attach(bitmap);
    BITMAP info{};
    if (GetObjectA(bitmap, sizeof info, &info) != 0) {
        size.cx = info.bmWidth;
        size.cy = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    }
    return 1;
}

HBITMAP CutImage(HWND reference, HBITMAP sheet, const RECT& r) {
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    if (sheet == nullptr || w <= 0 || h <= 0)
        return nullptr;
    HDC screen = GetDC(reference);
    HBITMAP image = CreateCompatibleBitmap(screen, w, h);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    if (image != nullptr && from != nullptr && to != nullptr) {
        HGDIOBJ oldFrom = SelectObject(from, sheet);
        HGDIOBJ oldTo = SelectObject(to, image);
        BitBlt(to, 0, 0, w, h, from, r.left, r.top, SRCCOPY);
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
    }
    if (from != nullptr)
        DeleteDC(from);
    if (to != nullptr)
        DeleteDC(to);
    ReleaseDC(reference, screen);
    return image;
}

int SkinSurface::InitSkin(HWND hwnd, const std::string& skinFile, std::span<const char* const> keys,
                          const ControlMaker& make, std::span<const FixedImage> fixedImages) {
    const std::string& folder = SkinFolder();
    const std::string path = folder + skinFile;
    const std::string maskName = ReadSkinString(path, "SCREEN", "Mask");
    const std::string normalName = ReadSkinString(path, "SCREEN", "Normal");
    const std::string overName = ReadSkinString(path, "SCREEN", "Over");
    const std::string downName = ReadSkinString(path, "SCREEN", "Down");
    const std::string disableName = ReadSkinString(path, "SCREEN", "Disable");

    SkinSheets sheets;
    SIZE ignored{};
    LoadSkinPicture(folder + maskName, mask_, ignored);
    const int haveNormal = LoadSkinPicture(folder + normalName, sheets.normal, size_);
    LoadSkinPicture(folder + overName, sheets.over, ignored);
    LoadSkinPicture(folder + downName, sheets.down, ignored);
    LoadSkinPicture(folder + disableName, sheets.disable, ignored);
    // The background is the Normal sheet: copied, not decoded a second time
    // (decoding is most of a window's start).
    background_.Attach(haveNormal != 0 ? static_cast<HBITMAP>(CopyImage(sheets.normal.Handle(),
                                                                        IMAGE_BITMAP, 0, 0, 0))
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
    HRGN region = CreateRegionFromMask(mask_.Handle(), RGB(255, 255, 255), RGB(0, 0, 0));
    if (region == nullptr)
        return 0;
    // The window owns (and may at once delete) the handle it is given, so the
    // surface keeps its own copy for hit tests.
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(copy, region, nullptr, RGN_COPY);
    if (SetWindowRgn(hwnd, region, TRUE) == 0) {
        DeleteObject(region);
        DeleteObject(copy);
        return 0;
    }
    if (region_ != nullptr)
        DeleteObject(region_);
    region_ = copy;
    return 1;
}

void SkinSurface::Paint(HWND hwnd, const std::function<void(HDC)>& drawTexts) const {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    const int w = client.right;
    const int h = client.bottom;
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP canvas = CreateCompatibleBitmap(dc, w > 0 ? w : 1, h > 0 ? h : 1);
    HGDIOBJ oldCanvas = SelectObject(memory, canvas);
    if (background_) {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, background_.Handle());
        BitBlt(memory, 0, 0, w, h, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    }
    SetBkMode(memory, TRANSPARENT);
    if (drawTexts)
        drawTexts(memory);
    BitBlt(dc, 0, 0, w, h, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldCanvas);
    DeleteObject(canvas);
    DeleteDC(memory);
    EndPaint(hwnd, &ps);
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
