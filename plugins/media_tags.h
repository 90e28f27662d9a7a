// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the tag fields of a file for the tag editor and the companion. With a resource plug-in that
// writes tags, each file's own tag is read and written in its own format; without one, only the ID3v1 tag of an
// MP3 file, and any other file is refused with a message (never given an ID3v1 block that nothing reads).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace karvo {

class resource_plugin;

// The fields as text (UTF-8); a field the file lacks is empty. The genre is a name.
struct tag_texts {
    std::string title, artist, album, year, comment, genre, track;
    bool operator==(const tag_texts&) const = default;
};

// Field name (KARVO_TAG_*) and new value; an empty value removes the field.
using tag_field_changes = std::vector<std::pair<std::string, std::string>>;

// Only the fields that differ, so a field the user left alone is never rewritten (nor cut, nor re-encoded).
tag_field_changes changed_tag_fields(const tag_texts& before, const tag_texts& after);

class media_tags {
public:
    // `resource` may be null or lack the tag writer.
    explicit media_tags(const resource_plugin* resource);

    bool writes_every_format() const { return writes_; }
    // ID3v1's widths (30 bytes, a 4-digit year, tracks up to 255) and its fixed genre list apply: the tag written is
    // an ID3v1 tag.
    bool id3v1_limits(const std::string& path) const;
    tag_texts read(const std::string& path) const;
    // Empty when the fields were written; else what the user is told (nothing was changed then).
    std::string write(const std::string& path, const tag_field_changes& changes) const;

private:
    std::string write_id3v1(const std::string& path, const tag_field_changes& changes) const;

    const resource_plugin* resource_;
    bool writes_;
};

} // namespace karvo
