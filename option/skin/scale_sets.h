// Which skin set a window draws with at a display scale. The skins folder
// holds the 100 % set; the sets for larger scales lie in sub-folders named
// by their percentage ("125\", "150\", "175\", "200\") with the same files.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>

namespace skin {

inline constexpr std::array<int, 5> kScaleSets{100, 125, 150, 175, 200};

// The sets to try for a window at `percent`, best first: the nearest set at
// or above the scale (so text is never smaller than at 100 %; scales above
// the largest set use the largest), then each smaller set down to 100 %, so
// that a missing or damaged set falls back to the next one below.
class ScaleSetOrder {
  public:
    explicit ScaleSetOrder(int percent);
    std::span<const int> Sets() const { return {sets_.data(), count_}; }

  private:
    std::array<int, kScaleSets.size()> sets_{};
    std::size_t count_ = 0;
};

// The sub-folder of a set within the skins folder: "" for 100 %, "150\" for
// 150 %.
std::string ScaleSetSubfolder(int percent);

// Pictures built into the program are drawn for every set: the one of
// resource `id` for the set at `percent` has the number `id` plus the set's
// place in kScaleSets times kScaledResourceStep; 0 for a scale with no set.
inline constexpr int kScaledResourceStep = 1000;
int ScaledResourceId(int id, int percent);

}  // namespace skin
