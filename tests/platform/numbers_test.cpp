// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/numbers.h"

#include <gtest/gtest.h>
#include <string>

namespace karvo::platform {
namespace {

TEST(Numbers, DecimalIntegerOrTheFallback) {
    struct row {
        std::string text;
        long long value;
    };
    const row table[] = {
        {"42", 42},
        {"  -7", -7},
        {"+3", 3},
        {"12abc", 12},
        {"", 99},
        {"abc", 99},
        {"-", 99},
        {"9223372036854775807", 9223372036854775807LL},
        {"9223372036854775808", 99},
        {"-9223372036854775808", -9223372036854775807LL - 1},
        {"18446744073709551617", 99}, // wraps past 2^64 to a small number
        {"0x10", 0},                  // no base prefixes in plain reads
    };
    for (const auto& [text, value] : table)
        EXPECT_EQ(to_integer(text, 99), value) << text;
}

} // namespace
} // namespace karvo::platform
