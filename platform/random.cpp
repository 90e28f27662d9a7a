// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/random.h"

#include <chrono>

namespace karvo::platform {

random_source::random_source(std::uint32_t seed) {
    this->seed(seed);
}

random_source::random_source() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count() ^
                       std::chrono::system_clock::now().time_since_epoch().count();
    seed(static_cast<std::uint32_t>(ticks ^ (ticks >> 32)));
}

void random_source::seed(std::uint32_t seed) {
    // Spread the seed over the whole state so that near seeds do not start near each other.
    state_ = (static_cast<std::uint64_t>(seed) ^ 0x9E3779B97F4A7C15ull) * 0xBF58476D1CE4E5B9ull;
}

std::int32_t random_source::next() {
    // 64-bit LCG (Knuth's MMIX constants); the high bits are the well-mixed ones.
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::int32_t>(state_ >> 33);
}

} // namespace karvo::platform
