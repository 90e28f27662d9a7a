// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/folder_scanner.h"

#include <algorithm>

#include "library/media_list.h"
#include "library/my_computer_list.h"
#include "library/playlist_files.h"
#include "library/text.h"
#include "platform/directory_reader.h"
#include "platform/paths.h"

namespace karvo {
namespace {

bool name_order(const std::string& a, const std::string& b) {
    const int c = compare_upper(a, b);
    return c != 0 ? c < 0 : a < b;
}

} // namespace

std::string adding_to_playlist_message(const std::string& path) {
    return "Adding to Playlist: " + path;
}

std::string reading_file_information_message(const std::string& name, int number, int total) {
    return "Reading File Information for: " + name + " (" + std::to_string(number) + " of " + std::to_string(total) +
           ")";
}

std::string media_files_count_message(int total) {
    return "There are " + std::to_string(total) + " media files in the current folder.";
}

string_list folder_media_names(const std::string& folder, const media_files& media) {
    string_list names;
    platform::directory_reader reader(folder);
    while (reader.next()) {
        // Folders never count, whatever their name; neither do devices, pipes and dangling links.
        if (reader.kind() != platform::entry_kind::file)
            continue;
        if (media.is_media_file(reader.name()))
            names.emplace_back(reader.name());
    }
    std::sort(names.begin(), names.end(), name_order);
    return names;
}

int fill_folder_listing(const std::string& folder, const media_files& media, my_computer_list& listing,
                        const folder_listing_callbacks& callbacks) {
    const std::string base = platform::with_trailing_slash(folder);
    const string_list names = folder_media_names(base, media);
    const int total = static_cast<int>(names.size());
    listing.clear();
    if (callbacks.begin_update)
        callbacks.begin_update();
    int number = 0;
    for (const std::string& name : names) {
        ++number;
        if (callbacks.show_message)
            callbacks.show_message(reading_file_information_message(name, number, total));
        listing.append(callbacks.media_info ? callbacks.media_info(base + name) : std::string());
    }
    if (callbacks.end_update)
        callbacks.end_update(listing.count());
    if (callbacks.show_message)
        callbacks.show_message(media_files_count_message(total));
    return total;
}

folder_scanner::folder_scanner(const media_files& media) : media_(media) {
    ScanDir.SetOptions(fiPath | fiRecurseFolders);
    AutoPlaylistScan.SetOptions(fiPath | fiRecurseFolders);
    InitialScan.SetOptions(fiPath | fiDetails | fiRecurseFolders);
    PlayThisLocation.SetOptions(fiPath | fiRecurseFolders);
    for (slot* s : {&scan_dir_, &auto_playlist_scan_, &initial_scan_, &play_this_location_})
        bind(*s);
}

void folder_scanner::bind(slot& s) {
    s.iterator.OnAddFile = [this, &s](TFileIterator&, const std::string& path, const TFileInfo&) {
        if (s.on_media_file && media_.is_media_file(path))
            s.on_media_file(path);
    };
}

void folder_scanner::run(slot& s, const path_sink& on_media_file) {
    // Checked before the slot is touched: a refused scan must leave the running one as it was.
    if (!s.iterator.IsIdle())
        throw file_iterator_error(iterator_busy_text);
    s.on_media_file = on_media_file;
    s.iterator.Iterate();
}

int folder_scanner::scan_dir(const std::string& folder, media_list& playlist, const media_info_source& media_info,
                             const message_sink& show_message) {
    ScanDir.SetRootFolder(folder);
    int added = 0;
    run(scan_dir_, [&](const std::string& path) {
        if (playlist.append(media_info ? media_info(path) : std::string(), std::string()))
            ++added;
        if (show_message)
            show_message(adding_to_playlist_message(path));
    });
    return added;
}

bool folder_scanner::play_this_location(const std::string& folder, const temp_list_writer& write_temp_list,
                                        const std::function<void()>& start_player) {
    PlayThisLocation.SetRootFolder(folder);
    collected_.clear();
    run(play_this_location_, [this](const std::string& path) { collected_.push_back(path); });
    if (!write_temp_list || !write_temp_list(collected_))
        return false;
    if (start_player)
        start_player();
    return true;
}

bool folder_scanner::play_this_location(const std::string& folder, const std::string& data_folder,
                                        const std::function<void(const std::string& temp_list)>& start_player) {
    return play_this_location(
        folder, [&](const string_list& paths) { return write_temp_playlist(data_folder, paths); },
        [&] {
            if (start_player)
                start_player(temp_playlist_path(data_folder));
        });
}

void folder_scanner::set_watched_folder(const std::string& dir) {
    InitialScan.SetRootFolder(dir);
    AutoPlaylistScan.SetRootFolder(dir);
}

void folder_scanner::initial_scan() {
    string_list found;
    run(initial_scan_, [&found](const std::string& path) { found.push_back(path); });
    std::sort(found.begin(), found.end(), name_order);
    known_ = std::move(found);
}

bool folder_scanner::is_known(const std::string& path) const {
    return std::binary_search(known_.begin(), known_.end(), path, name_order);
}

void folder_scanner::change_scan(const path_sink& on_new_file,
                                 const std::function<bool(const std::string&)>& is_complete) {
    run(auto_playlist_scan_, [this, &on_new_file, &is_complete](const std::string& path) {
        const auto at = std::lower_bound(known_.begin(), known_.end(), path, name_order);
        if (at != known_.end() && *at == path)
            return;
        if (is_complete && !is_complete(path))
            return;
        known_.insert(at, path);
        if (on_new_file)
            on_new_file(path);
    });
}

} // namespace karvo
