// SPDX-License-Identifier: GPL-3.0-or-later
// Writes title, artist, album, year, comment, genre and track number into a file's own tag with TagLib, changing
// only the fields named and leaving every other field, frame, picture and the audio as they were. The file is
// replaced whole (see file_replacement), so a failed or interrupted write leaves the old file.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "addons/resource/file_replacement.h"

namespace karvo::resource {

// Field name (KARVO_TAG_*) and new value; an empty value removes the field.
using tag_changes = std::vector<std::pair<std::string, std::string>>;

struct tag_write_result {
    int status; // KARVO_TAG_*
    std::string message;
};

tag_write_result write_media_tags(const std::string& path, const tag_changes& changes,
                                  const file_replacement::fault_hook& hook = {});

} // namespace karvo::resource
