#include "option/file_dialog_win.h"

#include <commdlg.h>

#include "option/late_system_calls_win.h"
#include "option/skin/modal_loop_win.h"

namespace option {

bool AskFilePath(HWND owner, FileDialog kind, const FileChoice& choice, char (&path)[MAX_PATH]) {
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = choice.filter;
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrDefExt = choice.extension;
    ofn.lpstrTitle = choice.title;
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    const skin::ModalLoopScope loop;
    if (kind == FileDialog::Open) {
        ofn.Flags |= OFN_FILEMUSTEXIST;
        return late::GetOpenFileNameA(&ofn) != FALSE;
    }
    return late::GetSaveFileNameA(&ofn) != FALSE;
}

}  // namespace option
