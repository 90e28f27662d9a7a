// SPDX-License-Identifier: GPL-3.0-or-later
// Reads memory that a plug-in hands over without trusting it: an address that is not mapped, or a text that runs
// past its end, gives a failure instead of a crash.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace karvo::platform {

// In a helper process that exists so that a plug-in fault ends it alone, a bad address may just end it: from then
// on memory is read directly, without a system call per read.
void read_memory_directly();

// Copies `size` bytes from `address` of this process into `out`; false when any of them cannot be read.
bool copy_readable(const void* address, void* out, std::size_t size);

// The zero-terminated text at `address`, cut after `max_bytes` when longer; nullopt when the address is null or a
// byte before the end cannot be read.
std::optional<std::string> read_text(const char* address, std::size_t max_bytes);

} // namespace karvo::platform
