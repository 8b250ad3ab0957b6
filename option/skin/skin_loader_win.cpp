#include "option/skin/skin_loader_win.h"

#include <wincodec.h>

#include <span>
#include <system_error>
#include <utility>
#include <vector>

#include "common/win/program_folder_win.h"
#include "common/win/scoped_win.h"
#include "option/skin/bitmap_facts_win.h"
#include "option/skin/region_win.h"

// Exported by the codecs library but not declared by its header: makes the
// factory without COM activation, so no apartment is needed on the thread.
extern "C" HRESULT WINAPI WICCreateImagingFactory_Proxy(UINT sdkVersion,
                                                        IWICImagingFactory** factory);

namespace skin {
namespace {

std::string& FolderStore() {
    static std::string folder = DefaultSkinFolder();
    return folder;
}

// WIC's factory, made once: it holds no window or thread state, and making
// one costs more than decoding a small picture. Never released: the process
// ends with it.
IWICImagingFactory* Codecs() {
    static IWICImagingFactory* const factory = [] {
        IWICImagingFactory* made = nullptr;
        if (FAILED(WICCreateImagingFactory_Proxy(WINCODEC_SDK_VERSION, &made)))
            made = nullptr;
        return made;
    }();
    return factory;
}

// Releases a COM interface when it goes out of scope.
template <typename T>
class ComRef {
  public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (p_ != nullptr)
            p_->Release();
    }
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }

  private:
    T* p_ = nullptr;
};

// Decodes a whole picture file held in memory straight into a 32-bit
// top-down section (CutTopDownSection relies on that) that the caller owns; null when it cannot.
// The system picture object would decode through the same codecs, then keep its own bitmap, which
// would have to be copied once more.
HBITMAP DecodePicture(std::span<BYTE> bytes) {
    IWICImagingFactory* codecs = Codecs();
    if (codecs == nullptr)
        return nullptr;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICBitmapSource> pixels;
    UINT w = 0, h = 0;
    if (FAILED(codecs->CreateStream(stream.Out())) ||
        FAILED(stream->InitializeFromMemory(bytes.data(), static_cast<DWORD>(bytes.size()))) ||
        FAILED(codecs->CreateDecoderFromStream(stream.Get(), nullptr,
                                               WICDecodeMetadataCacheOnDemand, decoder.Out())) ||
        FAILED(decoder->GetFrame(0, frame.Out())) ||
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame.Get(), pixels.Out())) ||
        FAILED(pixels->GetSize(&w, &h)) || w == 0 || h == 0) {
        return nullptr;
    }
    void* bits = nullptr;
    win::ScopedGdi<HBITMAP> section(
        MakeTopDownSection(static_cast<int>(w), static_cast<int>(h), bits));
    const UINT stride = w * 4;
    if (!section || bits == nullptr ||
        FAILED(pixels->CopyPixels(nullptr, stride, stride * h, static_cast<BYTE*>(bits)))) {
        return nullptr;
    }
    return section.Release();
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
    target.Reset();

    win::ScopedFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        win::DebugText("LoadSkinPicture missing %s\n", path.c_str());
        return 0;
    }
    const DWORD length = GetFileSize(file.Get(), nullptr);
    std::vector<BYTE> bytes(length == INVALID_FILE_SIZE ? 0 : length);
    DWORD got = 0;
    const bool read = !bytes.empty() && ReadFile(file.Get(), bytes.data(), length, &got, nullptr) &&
                      got == length;
    file.Reset();
    if (!read) {
        win::DebugText("LoadSkinPicture unreadable %s\n", path.c_str());
        return 0;
    }

    HBITMAP bitmap = DecodePicture(bytes);
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

void SkinSheets::Decode(std::size_t i) const {
    decoded_[i] = true;
    LoadSkinPicture(paths_[i], sheets_[i], sizes_[i]);
}

HBITMAP SkinSheets::Get(ButtonImage state) const {
    const auto i = static_cast<std::size_t>(state);
    if (i >= kCount)
        return nullptr;
    if (ahead_[i].valid())
        ahead_[i].get();  // the worker has written the sheet when this returns
    if (!decoded_[i])
        Decode(i);
    return sheets_[i].Get();
}

void SkinSheets::DecodeAhead(ButtonImage state) const {
    const auto i = static_cast<std::size_t>(state);
    if (i >= kCount || decoded_[i] || ahead_[i].valid())
        return;
    try {
        ahead_[i] = std::async(std::launch::async, [this, i] { Decode(i); });
    } catch (const std::system_error&) {
        // No thread to be had: the sheet is decoded when first needed.
    }
}

SIZE SkinSheets::NormalSize() const {
    Get(ButtonImage::Normal);
    return sizes_[static_cast<std::size_t>(ButtonImage::Normal)];
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

    sheets_ = std::make_shared<const SkinSheets>(std::array<std::string, SkinSheets::kCount>{
        folder + normalName, folder + overName, folder + downName, folder + disableName});
    SIZE ignored{};
    LoadSkinPicture(folder + maskName, mask_, ignored);
    size_ = sheets_->NormalSize();
    for (ButtonImage state : ahead_) sheets_->DecodeAhead(state);
    const SkinSheets& sheets = *sheets_;

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
    return Background() != nullptr ? 1 : 0;
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
    if (HBITMAP background = Background()) {
        const win::ScopedDc source(CreateCompatibleDC(dc));
        const win::ScopedSelect useBackground(source.Get(), background);
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
