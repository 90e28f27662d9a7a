// SPDX-License-Identifier: GPL-3.0-or-later
// Bounds the cost of an ID3v2 tag at the head of a media file. The tag library spends time on every frame, and a
// tag with tens of thousands of them (or one of hundreds of megabytes) would stall a folder listing; such a tag is
// replaced, for reading only, by one holding just the frames the program shows.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include <taglib/fileref.h>
#include <taglib/tiostream.h>

namespace karvo::resource {

// More frames than any real tag holds (a full tag with lyrics, pictures and chapters stays far below).
inline constexpr int max_head_tag_frames = 1024;
// Above this a tag is not read at all: its frames are skipped, the path and the audio are kept.
inline constexpr std::size_t max_head_tag_bytes = 64u << 20;

struct head_tag_plan {
    std::size_t tag_bytes = 0; // the whole tag at the head, header included
    std::string slim_tag;      // a tag with the shown frames only; empty: read the file without a tag
};

// How to read the file when its head tag is over the limits; nothing when it is to be read as it is.
std::optional<head_tag_plan> plan_head_tag(const char* path);

// TagLib's view of one file: the file itself, or, for a head tag over the limits, the file with that tag swapped for
// its slim form.
class media_file_ref {
public:
    explicit media_file_ref(const char* path);
    ~media_file_ref();
    media_file_ref(const media_file_ref&) = delete;
    media_file_ref& operator=(const media_file_ref&) = delete;

    const TagLib::FileRef& ref() const { return *ref_; }
    // True when the head tag was cut down (or left out) for reading.
    bool tag_slimmed() const { return slimmed_; }

private:
    std::unique_ptr<TagLib::IOStream> stream_;
    std::unique_ptr<TagLib::FileRef> ref_; // destroyed before the stream it reads
    bool slimmed_ = false;
};

} // namespace karvo::resource
