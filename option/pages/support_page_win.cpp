#include "option/pages/support_page_win.h"

#include <shellapi.h>

#include "common/win/program_folder_win.h"
#include "common/win/scoped_win.h"
#include "lan/string_ids.h"
#include "option/late_system_calls_win.h"
#include "option/option_globals_win.h"
#include "option/pages/page_window_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/themed_controls_win.h"

namespace option {
namespace {

constexpr const char* kSkinFile = "skin_support_control.ini";
constexpr const char* const kKeys[] = {"1"};
constexpr COLORREF kVersionColor = RGB(180, 180, 180);
constexpr POINT kSoftwareAt{172, 105};
constexpr POINT kFirmwareAt{186, 135};

// `at` is a point of the 100 % picture; the text goes where the skin set in
// use has it.
void DrawVersion(HDC dc, POINT at, const std::string& text) {
    TextOutA(dc, skin::SkinPixels(at.x), skin::SkinPixels(at.y), text.c_str(),
             static_cast<int>(text.size()));
}

}  // namespace

std::string ManualPath(const std::string& programFolder) {
    return programFolder + "User Manual.pdf";
}

std::span<const win::MessageRow<CSupportPage>> CSupportPage::MessageMap() {
    static constexpr win::MessageRow<CSupportPage> rows[] = {
        win::OnMessage<WM_PAINT, &CSupportPage::OnPaint>(),
        win::OnMessage<WM_ERASEBKGND, &CSupportPage::OnEraseBkgnd>(),
        win::OnMessage<WM_LBUTTONDOWN, &CSupportPage::OnLButtonDown>(),
        win::OnCommand<&CSupportPage::OnManual>(kManualButtonId),
    };
    static_assert(win::NoRowShadowed(rows), "a row of this table is shadowed by an earlier one");
    return rows;
}

bool CSupportPage::Create(HWND parent, const RECT& area) {
    HWND page = CreatePageWindow(parent, area);
    if (page == nullptr || !Subclass(page))
        return false;
    SkinPage(page, area, surface_, kSkinFile, kKeys,
             [this, page](std::size_t, const char*, const skin::ButtonPos& pos,
                          const skin::SkinSheets& sheets) {
                 manual_.CreateFromPos(page, pos, kManualButtonId, sheets);
             });
    return true;
}

void CSupportPage::Refresh() {
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

LRESULT CSupportPage::OnPaint() {
    surface_.Paint(Hwnd(), [](HDC dc) {
        win::ScopedGdi<HFONT> font(CreateFontA(skin::SkinPixels(14), 0, 0, 0, FW_NORMAL, FALSE,
                                               FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                               DEFAULT_PITCH | FF_DONTCARE, "Arial"));
        win::ScopedSelect keep(dc, font.Get());
        SetTextColor(dc, kVersionColor);
        DrawVersion(dc, kSoftwareAt, Globals().softwareVersion);
        DrawVersion(dc, kFirmwareAt, Globals().firmwareVersion);
    });
    return 0;
}

LRESULT CSupportPage::OnLButtonDown(UINT, POINT at) {
    skin::DragByBody(Hwnd(), at, true);
    return CallDefault();
}

LRESULT CSupportPage::OnManual(UINT, UINT code) {
    if (code == BN_CLICKED)
        OpenManual();
    return 0;
}

void CSupportPage::OpenManual() {
    const std::string path = ManualPath(win::ProgramFolder());
    HWND main = GetAncestor(Hwnd(), GA_ROOT);
    // The shell alone would fail without a word; the user is told instead.
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        win::DebugText("CSupportPage manual missing\n");
        const std::string text = LanString(lan::kManualMissing) + "\n" + path;
        const std::string caption = LanString(lan::kManualCaption);
        skin::ThemedMessageBox(main, text, caption.c_str(), MB_OK | MB_ICONWARNING);
        return;
    }
    const auto result = reinterpret_cast<INT_PTR>(
        late::ShellExecuteA(main, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    win::DebugText("CSupportPage manual opened %d\n", result > 32 ? 1 : 0);
    if (result <= 32) {
        const std::string text = LanString(lan::kManualMissing) + "\n" + path;
        skin::ThemedMessageBox(main, text, LanString(lan::kManualCaption).c_str(),
                               MB_OK | MB_ICONWARNING);
    }
}

}  // namespace option
