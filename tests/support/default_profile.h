// A fresh profile as Option creates it, the starting point of the page tests.
#pragma once

#include <cstring>

#include "common/settings/settings_block.h"

namespace testsupport {

inline settings::ProfileRecord OptionDefaultProfile() {
    settings::ProfileRecord p;
    std::memset(&p, 0, sizeof p);
    settings::FillDefaultProfile(p, 0, settings::DefaultsFor::Option);
    return p;
}

}  // namespace testsupport
