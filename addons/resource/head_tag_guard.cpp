// SPDX-License-Identifier: GPL-3.0-or-later
#include "addons/resource/head_tag_guard.h"
#include "addons/resource/cached_stream.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include <taglib/tfilestream.h>

namespace karvo::resource {
namespace {

// Reads a file at any position through one window, so walking thousands of small frame headers costs a few reads.
class window_reader {
public:
    explicit window_reader(const char* path) : fd_(::open(path, O_RDONLY | O_CLOEXEC)) {}
    ~window_reader() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    window_reader(const window_reader&) = delete;
    window_reader& operator=(const window_reader&) = delete;

    bool open() const { return fd_ >= 0; }

    // `size` bytes at `at`; false when the file ends first.
    bool read(std::size_t at, std::size_t size, std::string& out) {
        out.clear();
        while (out.size() < size) {
            const std::size_t position = at + out.size();
            if (position < start_ || position >= start_ + window_.size()) {
                window_.resize(window_bytes);
                const ssize_t got = ::pread(fd_, window_.data(), window_bytes, static_cast<off_t>(position));
                window_.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
                start_ = position;
                if (window_.empty())
                    return false;
            }
            const std::size_t offset = position - start_;
            const std::size_t take = std::min(size - out.size(), window_.size() - offset);
            out.append(window_, offset, take);
        }
        return true;
    }

private:
    static constexpr std::size_t window_bytes = 64 * 1024;
    int fd_;
    std::string window_;
    std::size_t start_ = 0;
};

std::uint32_t big_endian(std::string_view bytes) {
    std::uint32_t value = 0;
    for (const char c : bytes)
        value = value << 8 | static_cast<unsigned char>(c);
    return value;
}

std::uint32_t sync_safe(std::string_view bytes) {
    std::uint32_t value = 0;
    for (const char c : bytes)
        value = value << 7 | (static_cast<unsigned char>(c) & 0x7F);
    return value;
}

// The frames the program shows: title, artist, album, year, genre, track and comment.
bool shown_frame(std::string_view id, int version) {
    static constexpr std::array<std::string_view, 9> current = {"TIT2", "TPE1", "TALB", "TYER", "TDRC",
                                                                "TCON", "TRCK", "COMM", "TDAT"};
    static constexpr std::array<std::string_view, 7> old = {"TT2", "TP1", "TAL", "TYE", "TCO", "TRK", "COM"};
    return version == 2 ? std::find(old.begin(), old.end(), id) != old.end()
                        : std::find(current.begin(), current.end(), id) != current.end();
}

// Walks the frame headers; returns the frame count and gathers the first frame of each shown kind into `kept`.
int walk_frames(window_reader& reader, int version, std::size_t end, std::string& kept) {
    const std::size_t header = version == 2 ? 6 : 10;
    const std::size_t id_bytes = version == 2 ? 3 : 4;
    std::string head, body;
    std::string taken_ids;
    int frames = 0;
    for (std::size_t at = 10; at + header <= end; ++frames) {
        if (!reader.read(at, header, head) || head[0] == '\0')
            break; // padding or a cut file
        const std::string_view size_bytes = std::string_view(head).substr(id_bytes, version == 2 ? 3 : 4);
        const std::size_t size = version == 4 ? sync_safe(size_bytes) : big_endian(size_bytes);
        if (size > end - at - header)
            break;
        const std::string id = head.substr(0, id_bytes);
        if (shown_frame(id, version) && taken_ids.find(id + ';') == std::string::npos && size <= 64 * 1024 &&
            reader.read(at + header, size, body)) {
            taken_ids += id + ';';
            kept += head;
            kept += body;
        }
        at += header + size;
    }
    return frames;
}

std::string tag_header(int version, std::size_t body_size) {
    std::string header = {'I', 'D', '3', static_cast<char>(version), 0, 0};
    for (int shift = 21; shift >= 0; shift -= 7)
        header += static_cast<char>((body_size >> shift) & 0x7F);
    return header;
}

// The file with its first `skip` bytes replaced by `prefix`, read-only.
class spliced_stream : public TagLib::IOStream {
public:
    spliced_stream(const char* path, std::string prefix, std::size_t skip)
        : file_(path, true), prefix_(std::move(prefix)), skip_(static_cast<long>(skip)) {}

    TagLib::FileName name() const override { return file_.name(); }
    bool readOnly() const override { return true; }
    bool isOpen() const override { return file_.isOpen(); }
    long tell() const override { return position_; }
    long length() override { return static_cast<long>(prefix_.size()) + std::max(0L, file_.length() - skip_); }
    void seek(long offset, Position from) override {
        const long base = from == Beginning ? 0 : from == Current ? position_ : length();
        position_ = std::max(0L, base + offset);
    }
    TagLib::ByteVector readBlock(unsigned long size) override {
        TagLib::ByteVector out;
        const auto prefix_size = static_cast<long>(prefix_.size());
        if (position_ < prefix_size) {
            const long take = std::min(static_cast<long>(size), prefix_size - position_);
            out.append(TagLib::ByteVector(prefix_.data() + position_, static_cast<unsigned int>(take)));
            position_ += take;
            size -= static_cast<unsigned long>(take);
        }
        if (size > 0) {
            file_.seek(position_ - prefix_size + skip_);
            const TagLib::ByteVector rest = file_.readBlock(size);
            out.append(rest);
            position_ += static_cast<long>(rest.size());
        }
        return out;
    }
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    void truncate(long) override {}

private:
    TagLib::FileStream file_;
    std::string prefix_;
    long skip_;
    long position_ = 0;
};

} // namespace

std::optional<head_tag_plan> plan_head_tag(const char* path) {
    window_reader reader(path);
    std::string header;
    if (!reader.open() || !reader.read(0, 10, header) || header.compare(0, 3, "ID3") != 0)
        return std::nullopt;
    const int version = static_cast<unsigned char>(header[3]);
    const auto flags = static_cast<unsigned char>(header[5]);
    const std::size_t body = sync_safe(std::string_view(header).substr(6, 4));
    const std::size_t tag_bytes = 10 + body + (version == 4 && (flags & 0x10) ? 10 : 0);
    // A tag that cannot hold more frames than the limit (each takes at least eleven bytes) is read as it is.
    if (version < 2 || version > 4 || body / 11 <= static_cast<std::size_t>(max_head_tag_frames))
        return std::nullopt;
    head_tag_plan plan;
    plan.tag_bytes = tag_bytes;
    if (body > max_head_tag_bytes)
        return plan;
    // An extended header or a tag-wide unsynchronisation (before 2.4) moves the frames: only the size is known.
    const bool walkable = !(flags & 0x40) && !(version < 4 && (flags & 0x80));
    std::string kept;
    const int frames = walkable ? walk_frames(reader, version, 10 + body, kept) : max_head_tag_frames + 1;
    if (frames <= max_head_tag_frames)
        return std::nullopt;
    if (!kept.empty())
        plan.slim_tag = tag_header(version, kept.size()) + kept;
    return plan;
}

media_file_ref::media_file_ref(const char* path) {
    if (const auto plan = plan_head_tag(path)) {
        stream_ = std::make_unique<spliced_stream>(path, plan->slim_tag, plan->tag_bytes);
        slimmed_ = true;
        ref_ = std::make_unique<TagLib::FileRef>(stream_.get(), true, TagLib::AudioProperties::Fast);
        return;
    }
    stream_ = std::make_unique<cached_stream>(path);
    ref_ = std::make_unique<TagLib::FileRef>(stream_.get(), true, TagLib::AudioProperties::Fast);
}

media_file_ref::~media_file_ref() = default;

} // namespace karvo::resource
