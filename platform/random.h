// SPDX-License-Identifier: GPL-3.0-or-later
// The program's pseudo-random generator: non-negative 31-bit values, seeded from the clock at start-up; tests seed
// it themselves.
#pragma once

#include <cstdint>

namespace karvo::platform {

class random_source {
public:
    explicit random_source(std::uint32_t seed);
    random_source(); // seeded from the clock
    void seed(std::uint32_t seed);
    std::int32_t next(); // 0 .. 2^31 - 1
private:
    std::uint64_t state_;
};

} // namespace karvo::platform
