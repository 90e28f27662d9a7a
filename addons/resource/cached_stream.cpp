// SPDX-License-Identifier: GPL-3.0-or-later
#include "addons/resource/cached_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace karvo::resource {
namespace {

// Headers, tags of usual size and the last pages fit; a small file is read whole at once.
constexpr long head_bytes = 64 * 1024;
constexpr long tail_bytes = 16 * 1024;

} // namespace

cached_stream::cached_stream(const char* path) : path_(path) {
    fd_ = ::open(path, O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd_ >= 0 && ::fstat(fd_, &info) == 0)
        size_ = static_cast<long>(info.st_size);
    if (fd_ >= 0)
        head_.bytes = read_at(0, std::min(size_, head_bytes + tail_bytes));
}

cached_stream::~cached_stream() {
    if (fd_ >= 0)
        ::close(fd_);
}

TagLib::ByteVector cached_stream::read_at(long from, long count) const {
    TagLib::ByteVector bytes(static_cast<unsigned int>(std::max(count, 0L)), '\0');
    long done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd_, bytes.data() + done, static_cast<std::size_t>(count - done), from + done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += got;
    }
    bytes.resize(static_cast<unsigned int>(done));
    return bytes;
}

const cached_stream::block* cached_stream::cached(long from, long count) {
    const auto holds = [&](const block& b) {
        return from >= b.start && from + count <= b.start + static_cast<long>(b.bytes.size());
    };
    if (holds(head_))
        return &head_;
    if (!tail_read_ && from + count > size_ - tail_bytes && size_ > static_cast<long>(head_.bytes.size())) {
        tail_read_ = true;
        tail_.start = std::max(static_cast<long>(head_.bytes.size()), size_ - tail_bytes);
        tail_.bytes = read_at(tail_.start, size_ - tail_.start);
    }
    return tail_read_ && holds(tail_) ? &tail_ : nullptr;
}

TagLib::ByteVector cached_stream::readBlock(unsigned long length) {
    if (fd_ < 0 || position_ >= size_ || length == 0)
        return {};
    const long count = std::min(static_cast<long>(std::min<unsigned long>(length, 0x7FFFFFFF)), size_ - position_);
    TagLib::ByteVector bytes;
    if (const block* b = cached(position_, count))
        bytes = b->bytes.mid(static_cast<unsigned int>(position_ - b->start), static_cast<unsigned int>(count));
    else
        bytes = read_at(position_, count);
    position_ += static_cast<long>(bytes.size());
    return bytes;
}

void cached_stream::seek(long offset, Position p) {
    const long base = p == Beginning ? 0 : p == Current ? position_ : size_;
    position_ = std::max(0L, base + offset);
}

} // namespace karvo::resource
