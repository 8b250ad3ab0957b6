#include "option/skin/scale_sets.h"

namespace skin {

ScaleSetOrder::ScaleSetOrder(int percent) {
    // The first set at or above the scale; past the largest, the largest.
    std::size_t best = kScaleSets.size() - 1;
    for (std::size_t i = 0; i < kScaleSets.size(); ++i) {
        if (kScaleSets[i] >= percent) {
            best = i;
            break;
        }
    }
    for (std::size_t i = best + 1; i-- > 0;) sets_[count_++] = kScaleSets[i];
}

std::string ScaleSetSubfolder(int percent) {
    return percent == kScaleSets.front() ? std::string() : std::to_string(percent) + "\\";
}

int ScaledResourceId(int id, int percent) {
    for (std::size_t i = 0; i < kScaleSets.size(); ++i) {
        if (kScaleSets[i] == percent)
            return id + static_cast<int>(i) * kScaledResourceStep;
    }
    return 0;
}

}  // namespace skin
