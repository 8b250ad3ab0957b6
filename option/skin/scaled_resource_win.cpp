#include "option/skin/scaled_resource_win.h"

#include "option/skin/scale_sets.h"
#include "option/skin/skin_resource_ids.h"

namespace skin {

static_assert(SCALED_RESOURCE_STEP == kScaledResourceStep,
              "the resource scripts and the program number the scaled pictures alike");

HANDLE LoadScaledImage(UINT id, int percent, UINT type, UINT flags) {
    for (const int set : ScaleSetOrder(percent).Sets()) {
        const int number = ScaledResourceId(static_cast<int>(id), set);
        if (HANDLE image =
                LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(number), type, 0, 0, flags))
            return image;
    }
    return nullptr;
}

}  // namespace skin
