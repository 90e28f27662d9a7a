// SPDX-License-Identifier: GPL-3.0-or-later
// A read-only TagLib stream that reads a media file's first and last blocks once and answers the parser's many small
// reads and seeks from them: reading tags and properties walks the headers at the start and the last pages at the
// end, which otherwise costs dozens of system calls per file.
#pragma once

#include <string>

#include <taglib/tiostream.h>

namespace karvo::resource {

class cached_stream final : public TagLib::IOStream {
public:
    explicit cached_stream(const char* path);
    ~cached_stream() override;
    cached_stream(const cached_stream&) = delete;
    cached_stream& operator=(const cached_stream&) = delete;

    TagLib::FileName name() const override { return path_.c_str(); }
    TagLib::ByteVector readBlock(unsigned long length) override;
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return fd_ >= 0; }
    void seek(long offset, Position p = Beginning) override;
    long tell() const override { return position_; }
    long length() override { return size_; }
    void truncate(long) override {}

private:
    // The cached block [start, start + bytes.size()) holding the whole request, or nullptr.
    struct block {
        long start = 0;
        TagLib::ByteVector bytes;
    };
    const block* cached(long from, long count);
    TagLib::ByteVector read_at(long from, long count) const;

    std::string path_;
    int fd_ = -1;
    long size_ = 0;
    long position_ = 0;
    block head_;
    block tail_;
    bool tail_read_ = false;
};

} // namespace karvo::resource
