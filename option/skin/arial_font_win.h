// The Arial fonts the skinned controls draw their texts with, made once per
// size and weight and kept for the life of the process: a font made for every
// paint is a trip through the system's font engine for every control.
#pragma once

#include <windows.h>

namespace skin {

// Arial of `height` pixels (as CreateFont takes it), `width` pixels (0: the
// font's own) and `weight`. Owned by the cache; never delete it.
HFONT ArialFont(int height, int width = 0, int weight = FW_NORMAL);

}  // namespace skin
