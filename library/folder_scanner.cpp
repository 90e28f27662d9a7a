// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/folder_scanner.h"

#include <algorithm>

#include "library/media_list.h"
#include "library/my_computer_list.h"
#include "library/playlist_files.h"
#include "library/text.h"
#include "platform/case_fold.h"
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

std::string files_left_out_message(int count) {
    return std::to_string(count) + (count == 1 ? " file was" : " files were") +
           " left out: no media information could be read.";
}

std::string unread_files_message(int count) {
    return std::to_string(count) + (count == 1 ? " file is" : " files are") +
           " listed by path only: the media information did not come in time.";
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

folder_listing_fill::folder_listing_fill(const std::string& folder, const media_files& media, my_computer_list& listing,
                                         folder_listing_callbacks callbacks, read_ahead_pool::ready_notice on_ready)
    : base_(platform::with_trailing_slash(folder)), listing_(listing), callbacks_(std::move(callbacks)) {
    names_ = folder_media_names(base_, media);
    total_ = static_cast<int>(names_.size());
    listing_.clear();
    if (callbacks_.begin_update)
        callbacks_.begin_update();
    if (names_.empty())
        return;
    const media_info_source& info = callbacks_.media_info;
    pool_ =
        std::make_unique<read_ahead_pool>([info](const std::string& path) { return info ? info(path) : std::string(); },
                                          callbacks_.read_ahead, std::move(on_ready));
    for (const std::string& name : names_)
        pool_->push(base_ + name);
    pool_->close();
}

bool folder_listing_fill::take(bool wait) {
    while (number_ < total_) {
        std::optional<read_ahead_result> result = wait ? pool_->next() : pool_->try_next();
        if (!result)
            return false;
        ++number_;
        if (callbacks_.show_message)
            callbacks_.show_message(
                reading_file_information_message(names_[static_cast<std::size_t>(number_ - 1)], number_, total_));
        if (!listing_.append(result->info))
            ++left_out_;
    }
    if (!ended_) {
        ended_ = true;
        pool_.reset();
        if (callbacks_.end_update)
            callbacks_.end_update(listing_.count());
        if (callbacks_.show_message)
            callbacks_.show_message(left_out_ == 0 ? media_files_count_message(total_)
                                                   : media_files_count_message(total_ - left_out_) + " " +
                                                         files_left_out_message(left_out_));
    }
    return true;
}

int fill_folder_listing(const std::string& folder, const media_files& media, my_computer_list& listing,
                        const folder_listing_callbacks& callbacks) {
    folder_listing_fill fill(folder, media, listing, callbacks);
    fill.take(true);
    return fill.total();
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
    s.iterator.OnTerminate = [&s](TFileIterator&) {
        if (s.on_end)
            s.on_end();
    };
}

void folder_scanner::run(slot& s, const path_sink& on_media_file, const std::function<void()>& on_end) {
    // Checked before the slot is touched: a refused scan must leave the running one as it was.
    if (!s.iterator.IsIdle())
        throw file_iterator_error(iterator_busy_text);
    s.on_media_file = on_media_file;
    s.on_end = on_end;
    s.iterator.Iterate();
}

int folder_scanner::scan_dir(const std::string& folder, media_list& playlist, const media_info_source& media_info,
                             const message_sink& show_message, const read_ahead_policy& read_ahead) {
    ScanDir.SetRootFolder(folder);
    int added = 0;
    left_out_ = 0;
    read_ahead_policy policy = read_ahead;
    policy.step_aside = scan_step_aside;
    read_ahead_pool pool(
        [&media_info](const std::string& path) { return media_info ? media_info(path) : std::string(); }, policy);
    const auto deliver = [&](const read_ahead_result& result) {
        if (playlist.append(result.info, std::string()))
            ++added;
        else
            ++left_out_;
        if (show_message)
            show_message(adding_to_playlist_message(result.path));
    };
    // The walk feeds the readers; whatever is read meanwhile is appended at once, so the status line follows. The
    // rest is taken when the walk ends, unless a read failed (its error ends the scan).
    bool failed = false;
    run(
        scan_dir_,
        [&](const std::string& path) {
            try {
                pool.push(path);
                while (pool.backlogged())
                    if (auto result = pool.next())
                        deliver(*result);
                while (auto result = pool.try_next())
                    deliver(*result);
            } catch (...) {
                failed = true;
                throw;
            }
        },
        [&] {
            if (failed)
                return;
            pool.close();
            while (auto result = pool.next())
                deliver(*result);
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
