#include "option/dialogs/dialog_parts_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "lan/string_ids.h"
#include "option/file_dialog_win.h"
#include "option/late_system_calls_win.h"
#include "option/option_globals_win.h"
#include "option/model/dialogs/dialog_values.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/skin_messages.h"
#include "option/skin/themed_controls_win.h"

namespace option {

bool CreatePlateField(skin::CBitmapEdit& field, DWORD style, const RECT& plate, HWND parent,
                      UINT id, COLORREF text, COLORREF background) {
    // 16 and 4 pixels at 100 %, as the field's font grows with the scale.
    const int textHeight = skin::SkinPixels(16);
    const int sideMargin = skin::SkinPixels(4);
    const int top =
        plate.top + std::max(0, static_cast<int>(plate.bottom - plate.top) - textHeight) / 2;
    const RECT inside{plate.left + sideMargin, top, plate.right - sideMargin,
                      std::min(static_cast<int>(plate.bottom), top + textHeight)};
    if (!field.Create(style | WS_VISIBLE | WS_TABSTOP, inside, parent, id))
        return false;
    field.SetColors(text, background);
    field.ApplyFont();
    return true;
}

bool AskProgramPath(HWND owner, std::string& path) {
    wchar_t desktop[MAX_PATH] = {};
    late::SHGetFolderPathW(owner, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop);
    FileChoice choice{"exe file(*.exe)\0*.EXE\0\0", "exe"};
    choice.initialFolder = desktop[0] != L'\0' ? desktop : nullptr;
    return AskFilePath(owner, FileDialog::Open, choice, path);
}

void ShowPathTooLong(HWND owner, std::string_view path, std::size_t maxChars) {
    const std::string text = PathTooLongText(LanString(lan::kPathTooLong), path.size(), maxChars);
    const std::string caption = LanString(lan::kPathTooLongCaption);
    skin::ThemedMessageBox(owner, text, caption.c_str(), MB_OK | MB_ICONWARNING);
}

void BrowseProgramInto(skin::CBitmapEdit& field, HWND owner) {
    std::string chosen;
    if (AskProgramPath(owner, chosen))
        field.SetText(chosen);
}

bool TakeFittingPath(const skin::CBitmapEdit& field, HWND owner, std::size_t maxChars,
                     std::string& path) {
    const std::string typed = field.Text();
    if (!PathFits(typed, maxChars)) {
        ShowPathTooLong(owner, typed, maxChars);
        SetFocus(field.Hwnd());
        return false;
    }
    path = typed;
    return true;
}

}  // namespace option
