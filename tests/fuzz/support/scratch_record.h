// Records too large for the stack, allocated once for all the runs of a
// fuzz target: a fresh one each run would cost more than the run itself
// under the address sanitizer. Each run sets its records up whole before it
// reads them. `Which` tells apart two records of one type.
#pragma once

#include <memory>

namespace fuzz {

template <class T, int Which = 0>
T& ScratchRecord() {
    static const std::unique_ptr<T> record = std::make_unique<T>();
    return *record;
}

}  // namespace fuzz
