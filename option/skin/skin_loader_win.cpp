#include "option/skin/skin_loader_win.h"

#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "common/settings/ini_file_win.h"
#include "common/win/dpi_win.h"
#include "common/win/program_folder_win.h"
#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "option/skin/picture_file_win.h"
#include "option/skin/picture_prefetch_win.h"
#include "option/skin/region_win.h"
#include "option/skin/scale_sets.h"

namespace skin {
namespace {

// The profile-string reader's buffer for skin values: longer ones are cut to
// 2047 characters.
constexpr std::size_t kSkinStringBuffer = 2048;

struct Folders {
    std::string base = DefaultSkinFolder();  // the 100 % set
    int percent = kScaleSets.front();        // the set chosen last
};

Folders& FolderStore() {
    static Folders folders;
    return folders;
}

std::string SetFolder(int percent) {
    return FolderStore().base + ScaleSetSubfolder(percent);
}

// Each top-level skinned window keeps the scale of the set it chose, so that
// windows on monitors of different scales each draw with their own set. The
// table lives in the process (the user-interface thread's), not in window
// properties: drawing asks for the scale many times in one message, and under
// Wine every property read is a trip to the window server.
struct RootScale {
    HWND root;
    int percent;
};
std::vector<RootScale>& RootScales() {
    static std::vector<RootScale> scales;
    return scales;
}
// The window asked about last and its answer, for the many questions of one
// message (finding a window's top-level window is a trip to the server too).
struct LastAnswer {
    HWND window = nullptr;
    int percent = 0;
};
LastAnswer g_lastAnswer;

void KeepRootScale(HWND root, int percent) {
    g_lastAnswer = {};
    std::vector<RootScale>& scales = RootScales();
    std::erase_if(scales,
                  [root](const RootScale& s) { return s.root == root || !IsWindow(s.root); });
    scales.push_back({root, percent});
}

// The scale of the set `hwnd`'s top-level window chose; 0 when it chose none.
int WindowSetScale(HWND hwnd) {
    if (hwnd == nullptr)
        return 0;
    if (hwnd == g_lastAnswer.window)
        return g_lastAnswer.percent;
    const HWND root = GetAncestor(hwnd, GA_ROOT);
    int percent = 0;
    for (const RootScale& s : RootScales()) {
        if (s.root == root)
            percent = s.percent;
    }
    g_lastAnswer = {hwnd, percent};
    return percent;
}

}  // namespace

std::string DefaultSkinFolder() {
    return win::ProgramFolder() + "skins\\";
}

std::string SkinFolder() {
    return SetFolder(SkinScale());
}

void SetSkinFolder(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder.push_back('\\');
    FolderStore().base = std::move(folder);
    FolderStore().percent = kScaleSets.front();
}

int SkinScale() {
    // Drawing code runs inside a message of the window it draws; that
    // window's set decides, else the set chosen last.
    const int own = WindowSetScale(win::Window::Handling());
    return own != 0 ? own : FolderStore().percent;
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
            folders.percent = percent;
            return 1;
        }
        win::DebugText("ChooseSkinSet skipped %d\n", percent);
    }
    folders.percent = kScaleSets.front();
    return 0;
}

std::string ReadSkinString(const std::string& iniPath, const char* section, const char* key) {
    char buffer[kSkinStringBuffer];
    buffer[0] = '\0';
    GetPrivateProfileStringA(section, key, "", buffer, sizeof buffer, iniPath.c_str());
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

int LoadSkinPicture(const std::string& path, SkinBitmap& target, SIZE& size) {
    int result = 0;
    if (TakePrefetchedPicture(path, target, size, result))
        return result;
    return DecodePictureFile(path, target, size);
}

HBITMAP SkinSheets::Get(ButtonImage state) const {
    const auto i = static_cast<std::size_t>(state);
    if (i >= kCount)
        return nullptr;
    if (!decoded_[i]) {
        decoded_[i] = true;
        LoadSkinPicture(paths_[i], sheets_[i], sizes_[i]);
    }
    return sheets_[i].Get();
}

void SkinSheets::Adopt(ButtonImage state, SkinBitmap picture, SIZE size) {
    const auto i = static_cast<std::size_t>(state);
    if (i >= kCount)
        return;
    sheets_[i] = std::move(picture);
    sizes_[i] = size;
    decoded_[i] = true;
}

SIZE SkinSheets::NormalSize() const {
    Get(ButtonImage::Normal);
    return sizes_[static_cast<std::size_t>(ButtonImage::Normal)];
}

void AddSkinPictures(const std::string& skinFile, std::span<const char* const> screenKeys,
                     std::vector<std::string>& paths) {
    // The set the window will most likely choose: the one for the system's
    // scale (a prefetched picture nobody asks for only costs the decoding).
    const std::string folder =
        FolderStore().base +
        ScaleSetSubfolder(ScaleSetOrder(win::ScalePercent(win::SystemDpi())).Sets().front());
    for (const char* key : screenKeys)
        paths.push_back(folder + ReadSkinString(folder + skinFile, "SCREEN", key));
}

int SkinSurface::InitSkinControls(HWND hwnd, const std::string& skinFile,
                                  std::span<const ControlRow> controls, const RowMaker& make,
                                  std::span<const FixedImage> fixedImages) {
    const SkinKeys keys(controls);
    const int result = InitSkin(
        hwnd, skinFile, keys.Texts(),
        [&](std::size_t index, const char*, const ButtonPos& pos, const SkinSheets& sheets) {
            if (!make)
                return;
            // Every control takes its hover hint and accessible name from
            // the caption of its placement: the string of the user's
            // language that the table's row names, else the one of the
            // skin's [CAPTION] row; the skin's own English caption only when
            // the language module has neither.
            const ControlRow& row = keys.Row(index);
            std::string name = row.nameId != 0 ? SkinWord(static_cast<unsigned>(row.nameId)) : "";
            if (name.empty())
                name = words_.NameOf(index);
            ButtonPos named = pos;
            if (!name.empty())
                SetCaption(named, name);
            make(row, named, sheets);
        },
        fixedImages);
    words_.HandOut(hwnd, keys);
    return result;
}

int SkinSurface::InitSkin(HWND hwnd, const std::string& skinFile, std::span<const char* const> keys,
                          const ControlMaker& make, std::span<const FixedImage> fixedImages) {
    // A top-level window chooses the set for its display scale; a page inside
    // a window draws with that window's set.
    SkinBitmap chosenNormal;
    SIZE chosenSize{};
    if ((GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD) == 0) {
        ChooseSkinSet(dpi_ != 0 ? dpi_ : win::DpiForWindow(hwnd), skinFile, chosenNormal,
                      chosenSize);
        KeepRootScale(hwnd, FolderStore().percent);
    }
    const int own = WindowSetScale(hwnd);
    const std::string folder = SetFolder(own != 0 ? own : FolderStore().percent);
    const std::string path = folder + skinFile;
    // The recipe reads some thirty keys of the file, and the system's reader
    // looks the file up again for each: one parse answers them all, as the
    // system would (a file our engine does not read goes to the system).
    const std::optional<settings::IniDocument> parsed = settings::ParseIniFileAsSystem(path);
    const auto read = [&](const char* section, const char* key) {
        return parsed ? parsed->GetString(section, key, "", kSkinStringBuffer)
                      : ReadSkinString(path, section, key);
    };
    words_.Begin(read, own != 0 ? own : FolderStore().percent);
    const std::string maskName = read("SCREEN", "Mask");
    const std::string normalName = read("SCREEN", "Normal");
    const std::string overName = read("SCREEN", "Over");
    const std::string downName = read("SCREEN", "Down");
    const std::string disableName = read("SCREEN", "Disable");

    auto made = std::make_shared<SkinSheets>(std::array<std::string, SkinSheets::kCount>{
        folder + normalName, folder + overName, folder + downName, folder + disableName});
    // The set's choice decoded its Normal picture already.
    if (chosenNormal)
        made->Adopt(ButtonImage::Normal, std::move(chosenNormal), chosenSize);
    sheets_ = std::move(made);
    SIZE ignored{};
    LoadSkinPicture(folder + maskName, mask_, ignored);
    size_ = sheets_->NormalSize();
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
        ParseButtonPos(read("BUTTONPOS", keys[i]), pos);
        words_.AddCaption(i, keys[i], pos, read);
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
    RECT client;
    GetClientRect(hwnd, &client);
    PaintInto(paint.Get(), client, drawTexts);
}

void SkinSurface::PaintInto(HDC dc, const RECT& client,
                            const std::function<void(HDC)>& drawTexts) const {
    const int w = client.right;
    const int h = client.bottom;
    HBITMAP background = Background();
    if (!drawTexts && !words_.HasTexts()) {
        // Nothing drawn over the picture: it goes straight to the window,
        // without a window-sized canvas to compose in (at 200 % that is
        // seven megabytes to fill and copy).
        if (background != nullptr) {
            const win::ScopedDc source(CreateCompatibleDC(dc));
            const win::ScopedSelect useBackground(source.Get(), background);
            BitBlt(dc, 0, 0, w, h, source.Get(), 0, 0, SRCCOPY);
        } else {
            PatBlt(dc, 0, 0, w, h, BLACKNESS);
        }
        return;
    }
    const win::ScopedDc memoryDc(CreateCompatibleDC(dc));
    const HDC memory = memoryDc.Get();
    const win::ScopedGdi<HBITMAP> canvas(CreateCompatibleBitmap(dc, w > 0 ? w : 1, h > 0 ? h : 1));
    const win::ScopedSelect useCanvas(memory, canvas.Get());
    if (background != nullptr) {
        const win::ScopedDc source(CreateCompatibleDC(dc));
        const win::ScopedSelect useBackground(source.Get(), background);
        BitBlt(memory, 0, 0, w, h, source.Get(), 0, 0, SRCCOPY);
    }
    SetBkMode(memory, TRANSPARENT);
    words_.Paint(memory);
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
