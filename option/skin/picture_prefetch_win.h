// Skin pictures decoded ahead on a worker thread, for a window about to be
// made: while the system creates the window and its controls (mostly waits
// on the window server), the other core decodes the pictures its first paint
// shows. Each prefetched picture is taken once, by the first load of its
// path; a later load decodes the file afresh.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/win/scoped_win.h"

namespace skin {

// Starts decoding `paths`, in order, on one worker thread. Nothing happens
// when no thread can be had.
void PrefetchPictures(std::vector<std::string> paths);

// When `path` was prefetched and not yet taken: waits for its decoding,
// moves the picture into `target`, writes its size and the load's result
// (1 or 0) and returns true. Otherwise false, and nothing is touched.
bool TakePrefetchedPicture(const std::string& path, win::ScopedGdi<HBITMAP>& target, SIZE& size,
                           int& result);

}  // namespace skin
