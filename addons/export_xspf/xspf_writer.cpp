// SPDX-License-Identifier: GPL-3.0-or-later
#include "addons/export_xspf/xspf_writer.h"

#include "addons/resource/media_info_reader.h"
#include "platform/file_system.h"
#include "platform/file_uri.h"
#include "platform/numbers.h"

namespace karvo::xspf {

std::string file_uri(std::string_view path) {
    return platform::file_uri(std::string(path));
}

track track_of(const std::string& path, bool read_tags) {
    track t;
    t.location = file_uri(path);
    if (!read_tags || !resource::representable_path(path))
        return t;
    long long length_ms = -1;
    const resource::info_fields fields = resource::read_media_info(path.c_str(), &length_ms);
    t.title = fields[resource::field_title];
    t.creator = fields[resource::field_artist];
    t.album = fields[resource::field_album];
    const long long number = platform::to_integer(fields[resource::field_track], 0);
    t.track_num = number > 0 && number <= 1000000 ? static_cast<int>(number) : 0;
    t.duration_ms = length_ms;
    return t;
}

bool write_playlist(const std::string& target, const string_list& paths, const std::string& title, bool read_tags) {
    std::vector<track> tracks;
    tracks.reserve(paths.size());
    for (const std::string& path : paths)
        tracks.push_back(track_of(path, read_tags));
    return platform::write_file_atomic(target, document(title, tracks));
}

} // namespace karvo::xspf
