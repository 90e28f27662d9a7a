// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_drops.h"

#include "library/playlist_import.h"

#include <algorithm>

#include "library/command_texts.h"
#include "library/media_files.h"
#include "library/media_list.h"
#include "library/playlist_files.h"
#include "library/text.h"
#include "platform/file_system.h"
#include "platform/prompts.h"
#include "platform/random.h"

namespace karvo {

namespace {

// Adds entries one after another from `position` (-1: at the end), then shuffles when asked.
class drop_writer {
public:
    drop_writer(media_list& list, int position) : list_(list), first_(position < 0 ? list.count() : position) {}

    void add(const std::string& info) {
        if (list_.insert(first_ + result_.added, info, std::string()))
            ++result_.added;
    }

    drop_result finish(const drop_settings& settings, platform::random_source& random) {
        if (result_.added > 0)
            result_.inserted = {first_, first_ + result_.added - 1};
        if (settings.drag_n_drop_rnd) {
            for (int pass = 0; pass < settings.randomize_times; ++pass)
                list_.randomize(random);
            result_.shuffled = true;
            result_.inserted = {};
        }
        return result_;
    }

private:
    media_list& list_;
    int first_;
    drop_result result_;
};

bool is_playlist_file(const std::string& path) {
    const std::string extension = upper_extension(path);
    return extension == "M3U" || extension == "M3U8" || extension == "PLS" || extension == "XSPF";
}

// A dropped playlist is read as an import reads it: foreign paths, encodings and extended M3U included. An entry
// that names no file here keeps its place, taken beside the playlist when it is relative: the add-path rule
// decides about it as about any dropped file.
string_list listed_paths(const std::string& playlist) {
    const std::string folder = platform::folder_of(playlist);
    string_list usable;
    for (playlist_entry& entry : read_playlist(playlist, system_roots()).entries) {
        const bool relative = entry.state == entry_state::not_found && !entry.path.empty() && entry.path.front() != '/';
        usable.push_back(relative ? folder + entry.path : std::move(entry.path));
    }
    return usable;
}

} // namespace

int drop_position(int drag_n_drop, int row_under_point, int count) {
    switch (drag_n_drop) {
        case 1: return std::clamp(row_under_point, 0, std::max(count, 0));
        case 2: return 0;
        default: return -1;
    }
}

drop_result drop_listing_rows(media_list& list, const string_list& paths, int row_under_point,
                              const drop_settings& settings, const drop_info_source& info,
                              platform::random_source& random) {
    if (paths.empty())
        return {};
    drop_writer writer(list, drop_position(settings.drag_n_drop, row_under_point, list.count()));
    for (const std::string& path : paths)
        writer.add(info(path));
    return writer.finish(settings, random);
}

drop_result drop_shell_files(media_list& list, const string_list& files, int row_under_point,
                             const drop_settings& settings, const media_files& media, const drop_info_source& info,
                             platform::random_source& random) {
    const int position = drop_position(settings.drag_n_drop, row_under_point, list.count());
    const bool at_end = position < 0;
    drop_writer writer(list, position);
    const auto add_media_file = [&](const std::string& path) {
        if (!media.is_media_file(path) || platform::directory_exists(path))
            return;
        if (at_end && settings.verify_on_startup && !platform::file_exists(path))
            return;
        writer.add(info(path));
    };
    for (const std::string& file : files) {
        if (platform::directory_exists(file))
            continue;
        if (settings.add_playlist_type && is_playlist_file(file)) {
            for (const std::string& path : listed_paths(file))
                add_media_file(path);
        } else {
            add_media_file(file);
        }
    }
    if (files.empty())
        return {};
    return writer.finish(settings, random);
}

bool tree_drop_allowed(bool is_my_computer_root, bool under_my_computer, platform::prompts& prompts,
                       const command_texts& texts) {
    if (!is_my_computer_root && under_my_computer)
        return true;
    prompts.message_box(texts[texts::only_drives_and_folders], texts.title, platform::message_buttons::ok,
                        platform::message_icon::none);
    return false;
}

waste_action waste_drop(drag_source source, bool parent_is_my_playlists, bool parent_is_my_media_cds,
                        platform::prompts& prompts, const command_texts& texts) {
    if (source == drag_source::playlist)
        return waste_action::delete_selected;
    if (source == drag_source::tree && parent_is_my_playlists)
        return waste_action::delete_playlist;
    if (source == drag_source::tree && parent_is_my_media_cds)
        return waste_action::remove_media_cd;
    prompts.message_box(texts::waste_bin_refusal, texts.title, platform::message_buttons::ok_cancel,
                        platform::message_icon::none);
    return waste_action::refused;
}

} // namespace karvo
