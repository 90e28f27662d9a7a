// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's four folder scanners (what each does with a media file it finds) and the fill of the folder
// listing. Everything that touches the window (status line, view updates, the player, media information) comes in
// as a callback, so the same code runs under tests.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "components/Fileiterator/TFileIterator.h"
#include "components/Readahead/read_ahead_pool.h"
#include "library/media_files.h"
#include "library/string_list.h"

namespace karvo {

class media_list;
class my_computer_list;

using media_info_source = std::function<std::string(const std::string& path)>; // media info string of a file
using message_sink = std::function<void(const std::string& text)>;             // status line message
using path_sink = std::function<void(const std::string& path)>;

std::string adding_to_playlist_message(const std::string& path);
std::string reading_file_information_message(const std::string& name, int number, int total);
std::string media_files_count_message(int total);
// Told after a listing or a scan that left out files whose media information names no file.
std::string files_left_out_message(int count);
// Told when files were listed by their path alone because their media information did not come in time.
std::string unread_files_message(int count);

// Names of the media files directly in `folder` (sub-folders and other non-files left out), sorted by name without
// regard to case; names equal but for case keep a fixed order.
string_list folder_media_names(const std::string& folder, const media_files& media);

struct folder_listing_callbacks {
    media_info_source media_info;
    message_sink show_message;           // also repaints the status line at once
    std::function<void()> begin_update;  // optional: the view's updates are suspended
    std::function<void(int)> end_update; // optional: the view gets the item count; updates resume
    read_ahead_policy read_ahead{};      // how media_info may be called from the readers
};

// One fill of the folder listing with the media information read ahead on a pool. The constructor clears the
// listing and starts the reads; take() appends what has been read, in name order, with a progress line per file.
// Destroying an unfinished fill stops its reads; the listing then keeps what was taken.
class folder_listing_fill {
public:
    folder_listing_fill(const std::string& folder, const media_files& media, my_computer_list& listing,
                        folder_listing_callbacks callbacks, read_ahead_pool::ready_notice on_ready = {});
    folder_listing_fill(const folder_listing_fill&) = delete;
    folder_listing_fill& operator=(const folder_listing_fill&) = delete;

    // Takes the results read so far (with `wait`, all of them); true once the fill is complete, which ends the
    // view's update and shows the count line. A read that failed rethrows here.
    bool take(bool wait);
    bool complete() const { return number_ == total_ && ended_; }
    int total() const { return total_; }
    int left_out() const { return left_out_; }

private:
    std::string base_;
    my_computer_list& listing_;
    folder_listing_callbacks callbacks_;
    string_list names_;
    int total_ = 0;
    int number_ = 0;
    int left_out_ = 0;
    bool ended_ = false;
    std::unique_ptr<read_ahead_pool> pool_;
};

// Clears `listing` and appends the media entry of every media file of `folder`, showing a progress line per file
// and then the count. Returns the number of files.
int fill_folder_listing(const std::string& folder, const media_files& media, my_computer_list& listing,
                        const folder_listing_callbacks& callbacks);

class folder_scanner {
public:
    // Writes the temporary list (one full path per line); false when it could not be written.
    using temp_list_writer = std::function<bool(const string_list& paths)>;

    explicit folder_scanner(const media_files& media);
    folder_scanner(const folder_scanner&) = delete;
    folder_scanner& operator=(const folder_scanner&) = delete;

    TFileIterator ScanDir;
    TFileIterator AutoPlaylistScan;
    TFileIterator InitialScan;
    TFileIterator PlayThisLocation;

    // "Add Directory" and a new Media CD: every media file below `folder` is appended to `playlist` with an empty
    // list name, followed by "Adding to Playlist: " + path on the status line. Returns the number appended.
    // The media information is read ahead while the walk goes on; entries are appended in the walk's order, but
    // a read still running after scan_step_aside does not hold up the rest: its entry follows when it is done.
    static constexpr std::chrono::milliseconds scan_step_aside{1000};
    int scan_dir(const std::string& folder, media_list& playlist, const media_info_source& media_info,
                 const message_sink& show_message, const read_ahead_policy& read_ahead = {});
    // Files the last scan_dir left out because their media information named no file.
    int left_out() const { return left_out_; }

    // "Play This Drive." / "Play This Folder": the media files below `folder` go to the temporary list, then the
    // player is started. A list that could not be written does not start the player. Returns whether it started.
    bool play_this_location(const std::string& folder, const temp_list_writer& write_temp_list,
                            const std::function<void()>& start_player);
    // The same with the program's temporary list in `data_folder`; the player gets that file's path.
    bool play_this_location(const std::string& folder, const std::string& data_folder,
                            const std::function<void(const std::string& temp_list)>& start_player);
    const string_list& collected() const { return collected_; }

    // The auto playlister's folder: the root of InitialScan and AutoPlaylistScan.
    void set_watched_folder(const std::string& dir);
    // Rebuilds the known-file list from the media files already below the watched folder.
    void initial_scan();
    // Every media file below the watched folder not known yet becomes known and is handed to `on_new_file`, once.
    // A file that `is_complete` refuses (still being written) stays unknown, so a later scan takes it whole.
    void change_scan(const path_sink& on_new_file, const std::function<bool(const std::string&)>& is_complete = {});
    const string_list& known_files() const { return known_; }
    bool is_known(const std::string& path) const;

private:
    // Each scanner has its own slot, so a scan started while another one runs cannot redirect the running one.
    struct slot {
        TFileIterator& iterator;
        path_sink on_media_file;
        std::function<void()> on_end; // still inside the scan, so a scan started from it is refused too
    };
    void bind(slot& s);
    static void run(slot& s, const path_sink& on_media_file, const std::function<void()>& on_end = {});

    const media_files& media_;
    slot scan_dir_{ScanDir, {}, {}};
    slot auto_playlist_scan_{AutoPlaylistScan, {}, {}};
    slot initial_scan_{InitialScan, {}, {}};
    slot play_this_location_{PlayThisLocation, {}, {}};
    string_list collected_;
    int left_out_ = 0;
    string_list known_; // kept sorted for the look-up
};

} // namespace karvo
