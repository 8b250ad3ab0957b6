// Decoding a skin picture: LoadSkinPicture (the imaging codecs straight into
// a section) against the system picture object followed by a copy of its
// bitmap (how pictures were loaded before), on the main window's pictures.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/support/bench_process_win.h"
#include "option/skin/skin_loader_win.h"

namespace {

using Clock = std::chrono::steady_clock;

// The former path: the whole file in movable memory, a stream over it, the
// picture object, and a copy of its bitmap for the caller to own.
HBITMAP DecodeThroughPictureObject(const std::string& path) {
    const win::ScopedFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return nullptr;
    const DWORD length = GetFileSize(file.Get(), nullptr);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, length);
    DWORD got = 0;
    if (memory == nullptr)
        return nullptr;
    ReadFile(file.Get(), GlobalLock(memory), length, &got, nullptr);
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return nullptr;
    }
    IPicture* picture = nullptr;
    const HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(length), FALSE, IID_IPicture,
                                      reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(hr) || picture == nullptr)
        return nullptr;
    OLE_HANDLE handle = 0;
    HBITMAP copy = nullptr;
    if (SUCCEEDED(picture->get_Handle(&handle)))
        copy = static_cast<HBITMAP>(CopyImage(
            reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, 0));
    picture->Release();
    return copy;
}

double MedianMs(const std::function<HBITMAP()>& decode, int rounds) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto t0 = Clock::now();
        const win::ScopedGdi<HBITMAP> bitmap(decode());
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        if (!bitmap)
            return -1;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    const std::string dist = bench::Env("MOUSE_DIST");
    if (dist.empty()) {
        std::printf("MOUSE_DIST is not set\n");
        return 1;
    }
    constexpr int kRounds = 15;
    for (const char* name : {"config_normal.jpg", "config_down.jpg", "config_mask.bmp"}) {
        const std::string path = dist + "\\skins\\" + name;
        const double codecs = MedianMs(
            [&] {
                skin::SkinBitmap target;
                SIZE size{};
                skin::LoadSkinPicture(path, target, size);
                return target.Release();
            },
            kRounds);
        const double object = MedianMs([&] { return DecodeThroughPictureObject(path); }, kRounds);
        if (codecs < 0 || object < 0) {
            std::printf("%s could not be decoded\n", name);
            return 1;
        }
        std::printf(
            "%-18s LoadSkinPicture %6.2f ms, picture object and copy %6.2f ms, ratio %.2f\n", name,
            codecs, object, codecs / object);
    }
    return 0;
}
