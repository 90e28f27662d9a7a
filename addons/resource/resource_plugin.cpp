// SPDX-License-Identifier: GPL-3.0-or-later
// The exports of plugins/resource.krp: the player table, the media types with their icons, the plug-in's own
// description, and the media information of files read with TagLib. Nothing here lets an exception out.
#include "addons/resource/media_info_dialog.h"
#include "addons/resource/media_info_reader.h"
#include "addons/resource/media_types.h"
#include "sdk/karvo_plugin.h"

#include <array>
#include <string>
#include <vector>

#include "resource_icons.inc"

namespace {

using namespace karvo::resource;

struct player {
    const char* name;
    const char* program;
    const char* location;
    const char* url;
};

// Slots 0-5 first (their order is fixed by the program), then the extra players.
constexpr std::array<player, 14> players = {{
    {"WinAMP", "winamp.exe", "", "https://www.winamp.com/"},
    {"Sonique", "sonique.exe", "", "http://sonique.lycos.com/"},
    {"VLC", "vlc", "/usr/bin/vlc", "https://www.videolan.org/vlc/"},
    {"mpv", "mpv", "/usr/bin/mpv", "https://mpv.io/"},
    {"Audacious", "audacious", "/usr/bin/audacious", "https://audacious-media-player.org/"},
    {"NAD", "nad.exe", "", ""},
    {"SMPlayer", "smplayer", "/usr/bin/smplayer", "https://www.smplayer.info/"},
    {"Celluloid", "celluloid", "/usr/bin/celluloid", "https://celluloid-player.github.io/"},
    {"Rhythmbox", "rhythmbox", "/usr/bin/rhythmbox", "https://wiki.gnome.org/Apps/Rhythmbox"},
    {"Clementine", "clementine", "/usr/bin/clementine", "https://www.clementine-player.org/"},
    {"Strawberry", "strawberry", "/usr/bin/strawberry", "https://www.strawberrymusicplayer.org/"},
    {"Qmmp", "qmmp", "/usr/bin/qmmp", "https://qmmp.ylsoftware.com/"},
    {"DeaDBeeF", "deadbeef", "/usr/bin/deadbeef", "https://deadbeef.sourceforge.io/"},
    // The music daemon has no program here to point at: its location is the marker the players take it by.
    {"MPD", "mpd", "mpd", "https://www.musicpd.org/"},
}};

constexpr double plugin_version = 4.0;
constexpr const char* author = "The Karvo Media developers";
constexpr std::array<const char*, 4> info_lines = {
    "Reads tags, length, bit rate and sample rate of MP3, Ogg, Opus, FLAC, MP4, WMA, Musepack, Monkey's Audio,",
    "WavPack, WAV and AIFF files with TagLib.",
    "Names the player programs usually found on this system and their home pages.",
    "Icons are 16 x 16 PNG pictures, one per media type.",
};

// A list whose items point into storage that lives as long as the plug-in.
class fixed_list {
public:
    template <typename Range, typename Project>
    fixed_list(const Range& range, Project project) {
        for (const auto& element : range)
            items_.push_back(project(element));
        list_ = {static_cast<int32_t>(items_.size()), items_.data()};
    }
    const karvo_string_list* get() const { return &list_; }

private:
    std::vector<const char*> items_;
    karvo_string_list list_{};
};

const karvo_string_list empty_list{0, nullptr};

template <typename Make>
const karvo_string_list* guarded_list(Make make) noexcept {
    try {
        return make();
    } catch (...) {
        return &empty_list;
    }
}

// The last media info string of one thread, in a buffer whose strings reuse their storage from call to call.
class info_buffer {
public:
    const karvo_string_list* fill(const char* path) {
        if (!path || !representable_path(path)) {
            list_ = {0, pointers_.data()};
            return &list_;
        }
        const info_fields fields = read_media_info(path);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            items_[i].assign(fields[i]);
            items_[i] += KARVO_INFO_SEPARATOR;
        }
        items_.back().assign(1, KARVO_INFO_SEPARATOR);
        for (std::size_t i = 0; i < items_.size(); ++i)
            pointers_[i] = items_[i].c_str();
        list_ = {static_cast<int32_t>(items_.size()), pointers_.data()};
        return &list_;
    }

private:
    std::array<std::string, info_field_count + 1> items_;
    std::array<const char*, info_field_count + 1> pointers_{};
    karvo_string_list list_{};
};

} // namespace

extern "C" {

KARVO_EXPORT const karvo_string_list* _get_player_names(void) {
    return guarded_list([] {
        static const fixed_list list(players, [](const player& p) { return p.name; });
        return list.get();
    });
}

KARVO_EXPORT const karvo_string_list* _get_filename(void) {
    return guarded_list([] {
        static const fixed_list list(players, [](const player& p) { return p.program; });
        return list.get();
    });
}

KARVO_EXPORT const karvo_string_list* _get_default_player_locations(void) {
    return guarded_list([] {
        static const fixed_list list(players, [](const player& p) { return p.location; });
        return list.get();
    });
}

KARVO_EXPORT const karvo_string_list* _get_URL(void) {
    return guarded_list([] {
        static const fixed_list list(players, [](const player& p) { return p.url; });
        return list.get();
    });
}

KARVO_EXPORT const karvo_string_list* _get_new_extensions(void) {
    return guarded_list([] {
        static const fixed_list list(media_types, [](const media_type& t) { return t.extension; });
        return list.get();
    });
}

KARVO_EXPORT const karvo_string_list* _get_new_descriptions(void) {
    return guarded_list([] {
        static const fixed_list list(media_types, [](const media_type& t) { return t.description; });
        return list.get();
    });
}

KARVO_EXPORT const karvo_string_list* _get_plugin_info(void) {
    return guarded_list([] {
        static const fixed_list list(info_lines, [](const char* line) { return line; });
        return list.get();
    });
}

KARVO_EXPORT const char* _get_author_name(void) {
    return author;
}

KARVO_EXPORT double _get_version(void) {
    return plugin_version;
}

KARVO_EXPORT const unsigned char* _get_icon_resource(int32_t id, int32_t* size) {
    static_assert(sizeof generated_icons / sizeof generated_icons[0] == media_types.size());
    const bool known = id >= 1 && id <= static_cast<int32_t>(media_types.size());
    if (size)
        *size = known ? generated_icons[id - 1].size : 0;
    return known ? generated_icons[id - 1].bytes : nullptr;
}

// Each thread fills its own buffer, and the reader keeps nothing between files, so calls may overlap.
KARVO_EXPORT int32_t _is_reentrant(void) {
    return 1;
}

KARVO_EXPORT const karvo_string_list* _get_media_info_string(const char* path) {
    thread_local info_buffer buffer;
    return guarded_list([&] { return buffer.fill(path); });
}

KARVO_EXPORT void _show_media_info(const char* path) {
    try {
        if (path && representable_path(path))
            show_media_info_dialog(read_media_info(path));
    } catch (...) {
    }
}

KARVO_EXPORT int32_t _get_media_duration(const char* path) {
    try {
        return path ? read_media_duration(path) : -1;
    } catch (...) {
        return -1;
    }
}

} // extern "C"
