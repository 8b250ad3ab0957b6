#include "option/skin/arial_font_win.h"

#include <map>
#include <tuple>

#include "common/win/scoped_win.h"

namespace skin {

HFONT ArialFont(int height, int width, int weight) {
    // Drawn on the user-interface thread only.
    static std::map<std::tuple<int, int, int>, win::ScopedGdi<HFONT>> fonts;
    win::ScopedGdi<HFONT>& font = fonts[{height, width, weight}];
    if (!font) {
        font.Reset(CreateFontA(height, width, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, "Arial"));
    }
    return font.Get();
}

}  // namespace skin
