// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file byte access for tests that build fixtures and check written files byte for byte.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace karvo::testing {

inline void write_raw(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Empty when missing; use std::filesystem::exists to tell an empty file apart.
inline std::string read_raw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace karvo::testing
