// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/readable_memory.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

namespace karvo::platform {
namespace {

constexpr std::size_t page = 4096;
std::atomic<bool> direct{false};

// Where the kernel refuses process_vm_readv (a sandbox), a pipe does the same check: write() reads the bytes and
// fails with EFAULT instead of faulting.
bool copy_through_pipe(const void* address, void* out, std::size_t size) {
    thread_local int ends[2] = {-1, -1};
    if (ends[0] < 0 && ::pipe2(ends, O_CLOEXEC) != 0)
        return false;
    auto* to = static_cast<char*>(out);
    auto from = reinterpret_cast<std::uintptr_t>(address);
    while (size > 0) {
        const std::size_t chunk = size < page ? size : page;
        const ssize_t written = ::write(ends[1], reinterpret_cast<const void*>(from), chunk);
        if (written <= 0)
            return false;
        if (::read(ends[0], to, static_cast<std::size_t>(written)) != written)
            return false;
        to += written;
        from += static_cast<std::uintptr_t>(written);
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

void read_memory_directly() {
    direct = true;
}

bool copy_readable(const void* address, void* out, std::size_t size) {
    if (size == 0)
        return true;
    if (address == nullptr)
        return false;
    if (direct) {
        std::memcpy(out, address, size);
        return true;
    }
    static bool kernel_refuses = false;
    if (!kernel_refuses) {
        iovec local{out, size};
        iovec remote{const_cast<void*>(address), size};
        const ssize_t copied = ::process_vm_readv(::getpid(), &local, 1, &remote, 1, 0);
        if (copied == static_cast<ssize_t>(size))
            return true;
        if (copied >= 0 || errno == EFAULT)
            return false;
        if (errno != ENOSYS && errno != EPERM)
            return false;
        kernel_refuses = true;
    }
    return copy_through_pipe(address, out, size);
}

std::optional<std::string> read_text(const char* address, std::size_t max_bytes) {
    if (address == nullptr)
        return std::nullopt;
    if (direct)
        return std::string(address, ::strnlen(address, max_bytes));
    std::string text;
    auto at = reinterpret_cast<std::uintptr_t>(address);
    char chunk[256];
    while (text.size() < max_bytes) {
        // Never past the page the text is on: the next page may be unmapped even when the text ends before it.
        std::size_t want = page - (at % page);
        want = std::min({want, sizeof chunk, max_bytes - text.size()});
        if (!copy_readable(reinterpret_cast<const void*>(at), chunk, want))
            return std::nullopt;
        const void* end = std::memchr(chunk, '\0', want);
        if (end != nullptr) {
            text.append(chunk, static_cast<std::size_t>(static_cast<const char*>(end) - chunk));
            return text;
        }
        text.append(chunk, want);
        at += want;
    }
    return text;
}

} // namespace karvo::platform
