#include "option/file_dialog_win.h"

#include <commdlg.h>

#include <cstring>
#include <vector>

#include "common/win/wide_text_win.h"
#include "option/late_system_calls_win.h"
#include "option/skin/modal_loop_win.h"

namespace option {

namespace {

// The filter's pairs, each text widened, ended by an empty one.
std::wstring WideFilter(const char* filter) {
    std::wstring wide;
    for (const char* part = filter; *part != '\0'; part += std::strlen(part) + 1) {
        wide += win::Wide(part);
        wide += L'\0';
    }
    wide += L'\0';
    return wide;
}

}  // namespace

bool AskFilePath(HWND owner, FileDialog kind, const FileChoice& choice, std::string& path) {
    // Room for any path the system can give; whether it fits where it goes
    // is decided by the caller.
    std::vector<wchar_t> chosen(32768, L'\0');
    const std::wstring filter = WideFilter(choice.filter);
    const std::wstring extension = win::Wide(choice.extension);
    const std::wstring title = choice.title != nullptr ? win::Wide(choice.title) : L"";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = chosen.data();
    ofn.nMaxFile = static_cast<DWORD>(chosen.size());
    ofn.lpstrDefExt = extension.c_str();
    ofn.lpstrTitle = choice.title != nullptr ? title.c_str() : nullptr;
    ofn.lpstrInitialDir = choice.initialFolder;
    // One file only: with several chosen the system returns their folder.
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    const skin::ModalLoopScope loop;
    if (kind == FileDialog::Open) {
        ofn.Flags |= OFN_FILEMUSTEXIST;
        if (!late::GetOpenFileNameW(&ofn))
            return false;
    } else if (!late::GetSaveFileNameW(&ofn)) {
        return false;
    }
    path = win::Utf8(chosen.data());
    return true;
}

}  // namespace option
