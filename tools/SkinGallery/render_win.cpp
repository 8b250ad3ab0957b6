#include <cstdlib>
#include <fstream>
#include <vector>

#include "common/win/dib_win.h"
#include "common/win/scoped_win.h"
#include "option/skin/region_win.h"
#include "tools/SkinGallery/gallery_window_win.h"
#include "tools/SkinGallery/test_skin.h"

namespace gallery {
namespace {

// Top-down 32-bpp copy of a bitmap as red, green, blue rows.
std::vector<std::uint8_t> RgbRows(HBITMAP bitmap, int width, int height) {
    std::vector<std::uint8_t> bgra(static_cast<std::size_t>(width) * height * 4);
    BITMAPINFO bmi = win::TopDownRgb32(width, height);
    {
        const win::ScopedWindowDc screen(nullptr);
        GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(height), bgra.data(), &bmi,
                  DIB_RGB_COLORS);
    }
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0, n = static_cast<std::size_t>(width) * height; i < n; ++i) {
        rgb[i * 3 + 0] = bgra[i * 4 + 2];
        rgb[i * 3 + 1] = bgra[i * 4 + 1];
        rgb[i * 3 + 2] = bgra[i * 4 + 0];
    }
    return rgb;
}

std::vector<std::string> SectionKeys(const std::string& iniPath, const char* section) {
    std::vector<char> buffer(32768, '\0');
    const DWORD n = GetPrivateProfileStringA(section, nullptr, "", buffer.data(),
                                             static_cast<DWORD>(buffer.size()), iniPath.c_str());
    std::vector<std::string> keys;
    for (DWORD i = 0; i < n;) {
        std::string key(&buffer[i]);
        if (key.empty())
            break;
        i += static_cast<DWORD>(key.size()) + 1;
        keys.push_back(std::move(key));
    }
    return keys;
}

// A plain skinned window: the recipe with a generic button for every key.
class RenderWindow : public win::WindowImpl<RenderWindow> {
  public:
    std::vector<std::unique_ptr<skin::CSkinButton>> buttons;
    std::vector<RECT> rects;
    std::vector<int> keys;  // the BUTTONPOS key of each button
    skin::SkinSurface surface;

    static std::span<const win::MessageRow<RenderWindow>> MessageMap() { return {}; }
};

// Measures the window's words as drawn and writes what the check finds in
// them, one a line, to `path` (an empty file when they are sound).
bool WriteWordFindings(const RenderWindow& window, skin::CutWords cutWords,
                       const std::string& path) {
    const win::ScopedDc measuring(CreateCompatibleDC(nullptr));
    std::vector<skin::DrawnWord> words = window.surface.MeasureWords(measuring.Get());
    for (std::size_t b = 0; b < window.buttons.size(); ++b) {
        if (const auto& caption = window.buttons[b]->Caption()) {
            words.push_back(caption->Measure(measuring.Get(), window.rects[b]));
            words.back().name = "[CAPTION] " + std::to_string(window.keys[b]);
        }
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    for (const std::string& finding : skin::WordFindings(words, cutWords))
        file << finding << '\n';
    file.close();
    return !file.fail();
}

}  // namespace

bool SaveBitmap(HBITMAP bitmap, const std::string& path) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0)
        return false;
    const int h = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    return WriteBmp24Rows(path, info.bmWidth, h, RgbRows(bitmap, info.bmWidth, h));
}

bool SaveWindowShot(HWND hwnd, const std::string& path) {
    RECT r;
    if (!GetWindowRect(hwnd, &r))
        return false;
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return false;
    win::ScopedGdi<HBITMAP> shot;
    {
        const win::ScopedWindowDc screen(nullptr);
        const win::ScopedDc memory(CreateCompatibleDC(screen.Get()));
        shot.Reset(CreateCompatibleBitmap(screen.Get(), w, h));
        const win::ScopedSelect useShot(memory.Get(), shot.Get());
        BitBlt(memory.Get(), 0, 0, w, h, screen.Get(), r.left, r.top, SRCCOPY);
    }
    return SaveBitmap(shot.Get(), path);
}

int RenderSkin(const std::string& iniPath, const std::string& outFolder,
               skin::CutWords cutWords, std::string& error) {
    if (GetFileAttributesA(iniPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        error = "skin description file not found: " + iniPath;
        return 2;
    }
    const std::size_t slash = iniPath.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? ".\\" : iniPath.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? iniPath : iniPath.substr(slash + 1);
    const std::size_t dot = file.find_last_of('.');
    const std::string base = dot == std::string::npos ? file : file.substr(0, dot);
    skin::SetSkinFolder(folder);

    // Every picture must load, or the contact sheet would show nonsense.
    static const char* const kStates[] = {"Normal", "Over", "Down", "Disable"};
    skin::SkinBitmap sheets[4];
    SIZE sizes[4]{};
    for (int i = 0; i < 4; ++i) {
        const std::string name = skin::ReadSkinString(iniPath, "SCREEN", kStates[i]);
        if (name.empty() || !skin::LoadSkinPicture(folder + name, sheets[i], sizes[i])) {
            error = std::string("cannot load the ") + kStates[i] + " picture \"" + name + "\"";
            return 3;
        }
    }
    {
        skin::SkinBitmap mask;
        SIZE maskSize{};
        const std::string name = skin::ReadSkinString(iniPath, "SCREEN", "Mask");
        if (name.empty() || !skin::LoadSkinPicture(folder + name, mask, maskSize)) {
            error = "cannot load the Mask picture \"" + name + "\"";
            return 3;
        }
    }

    // A button for every key; the keys are numbers in every skin of Option.
    std::vector<skin::ControlRow> rows;
    for (const std::string& key : SectionKeys(iniPath, "BUTTONPOS")) {
        const int number = std::atoi(key.c_str());
        if (number > 0)
            rows.push_back(
                {100 + static_cast<int>(rows.size()), number, skin::ControlKind::Button});
    }

    RenderWindow window;
    win::WindowSpec spec;
    spec.className = "SkinGalleryRender";
    spec.title = "SkinGallery render";
    spec.style = WS_POPUP;
    spec.x = 0;
    spec.y = 0;
    spec.width = 10;
    spec.height = 10;
    if (!window.Create(spec)) {
        error = "cannot create the window";
        return 4;
    }
    window.surface.InitSkinControls(
        window.Hwnd(), file, rows,
        [&](const skin::ControlRow& row, const skin::ButtonPos& pos, const skin::SkinSheets& s) {
            auto button = std::make_unique<skin::CSkinButton>();
            if (button->CreateFromRow(window.Hwnd(), row, pos, s)) {
                window.rects.push_back(skin::ToRect(pos.rect));
                window.keys.push_back(row.key);
                window.buttons.push_back(std::move(button));
            }
        });
    window.surface.ApplyShape(window.Hwnd());
    const SIZE size = window.surface.Size();
    if (size.cx <= 0 || size.cy <= 0) {
        error = "the Normal picture is empty";
        return 3;
    }

    static const char* const kSuffixes[] = {"_normal.bmp", "_over.bmp", "_down.bmp",
                                            "_disable.bmp"};
    std::string out = outFolder;
    if (!out.empty() && out.back() != '\\' && out.back() != '/')
        out.push_back('\\');
    CreateDirectoryA(outFolder.c_str(), nullptr);
    const win::ScopedWindowDc screen(nullptr);
    for (int state = 0; state < 4; ++state) {
        const win::ScopedGdi<HBITMAP> canvas(
            CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
        {
            const win::ScopedDc canvasDc(CreateCompatibleDC(screen.Get()));
            const win::ScopedSelect useCanvas(canvasDc.Get(), canvas.Get());
            const RECT all{0, 0, size.cx, size.cy};
            FillRect(canvasDc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            // The DC keeps its own copy of a clipping region.
            const win::ScopedGdi<HRGN> shape(
                skin::CreateRegionFromMask(window.surface.Mask(), RGB(255, 255, 255), 0));
            if (shape)
                SelectClipRgn(canvasDc.Get(), shape.Get());
            const win::ScopedDc source(CreateCompatibleDC(screen.Get()));
            const win::ScopedSelect useSheet(source.Get(), sheets[state].Get());
            BitBlt(canvasDc.Get(), 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
            window.surface.PaintWords(canvasDc.Get());
            // Each button draws the image it cut for this state, and its word.
            for (std::size_t b = 0; b < window.buttons.size(); ++b) {
                HBITMAP image = window.buttons[b]->Image(state);
                if (image == nullptr)
                    continue;
                const RECT& r = window.rects[b];
                const win::ScopedSelect useImage(source.Get(), image);
                BitBlt(canvasDc.Get(), r.left, r.top, r.right - r.left, r.bottom - r.top,
                       source.Get(), 0, 0, SRCCOPY);
                if (const auto& caption = window.buttons[b]->Caption())
                    caption->Draw(canvasDc.Get(), r, static_cast<skin::ButtonImage>(state));
            }
        }
        const std::string path = out + base + kSuffixes[state];
        if (!SaveBitmap(canvas.Get(), path)) {
            error = "cannot write " + path;
            return 5;
        }
    }
    const std::string findings = out + base + "_words.txt";
    if (!WriteWordFindings(window, cutWords, findings)) {
        error = "cannot write " + findings;
        return 5;
    }
    return 0;
}

}  // namespace gallery
