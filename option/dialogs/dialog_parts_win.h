// Pieces every skinned dialog of the button page shares: the control ids
// (dialog_ids.h), the edit field placed inside its painted plate, the program
// file dialog and the notice that a path is too long to be stored.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "common/win/message_map.h"
#include "option/dialogs/dialog_ids.h"
#include "option/skin/skin_messages.h"
#include "option/skin/bitmap_edit_win.h"

namespace option {

// What the edit fields post to their dialog after a change and on losing the
// focus (wParam 0).
inline constexpr win::RegisteredMessage kEditKillFocus(skin::kEditKillFocusName);

// An edit field inside the plate that the skin paints for it: a little
// narrower and vertically centred, so the plate frames the text.
bool CreatePlateField(skin::CBitmapEdit& field, DWORD style, const RECT& plate, HWND parent,
                      UINT id, COLORREF text, COLORREF background);

// The system's file-open dialog for a program: one existing file, names
// without extension completed with ".exe", opened on the desktop folder.
// False, `path` unchanged, when the user cancelled.
bool AskProgramPath(HWND owner, std::string& path);

// Tells the user that `path` cannot be stored whole in a field of
// `maxChars` characters; the dialog stays open to take a shorter one.
void ShowPathTooLong(HWND owner, std::string_view path, std::size_t maxChars);

// The Browse button of a program field: the chosen program replaces the
// field's text; a cancelled file dialog keeps what the field showed.
void BrowseProgramInto(skin::CBitmapEdit& field, HWND owner);

// The program path typed in `field` into `path` when it fits `maxChars`;
// otherwise the user is told, the field takes the focus back and the answer
// is false, `path` unchanged.
bool TakeFittingPath(const skin::CBitmapEdit& field, HWND owner, std::size_t maxChars,
                     std::string& path);

}  // namespace option
