#include "option/skin/picture_file_win.h"

#include <wincodec.h>

#include <span>
#include <vector>

#include "common/win/late_function_win.h"
#include "common/win/program_folder_win.h"
#include "option/skin/bitmap_facts_win.h"

// Exported by the codecs library but not declared by its header; only its
// type is used here (the function is looked up at run time).
extern "C" HRESULT WINAPI WICCreateImagingFactory_Proxy(UINT sdkVersion,
                                                        IWICImagingFactory** factory);

namespace skin {
namespace {

// WIC's factory, made once: it holds no window or thread state, and making
// one costs more than decoding a small picture. Never released: the process
// ends with it. The codecs library (and what it imports) is loaded here, at
// the first decode, which Option does on a worker thread beside its window's
// creation, rather than before the program starts. The factory is made
// through the library's exported maker, which needs no COM apartment on the
// thread.
IWICImagingFactory* Codecs() {
    using MakeFactory = HRESULT WINAPI(UINT sdkVersion, IWICImagingFactory * *factory);
    static IWICImagingFactory* const factory = [] {
        static auto* const make =
            win::LateFunction<MakeFactory>("windowscodecs.dll", "WICCreateImagingFactory_Proxy");
        IWICImagingFactory* made = nullptr;
        if (make == nullptr || FAILED(make(WINCODEC_SDK_VERSION, &made)))
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
    ComRef<IWICFormatConverter> pixels;
    UINT w = 0, h = 0;
    if (FAILED(codecs->CreateStream(stream.Out())) ||
        FAILED(stream->InitializeFromMemory(bytes.data(), static_cast<DWORD>(bytes.size()))) ||
        FAILED(codecs->CreateDecoderFromStream(stream.Get(), nullptr,
                                               WICDecodeMetadataCacheOnDemand, decoder.Out())) ||
        FAILED(decoder->GetFrame(0, frame.Out())) ||
        FAILED(codecs->CreateFormatConverter(pixels.Out())) ||
        FAILED(pixels->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                  nullptr, 0.0, WICBitmapPaletteTypeCustom)) ||
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

int DecodePictureFile(const std::string& path, win::ScopedGdi<HBITMAP>& target, SIZE& size) {
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

}  // namespace skin
