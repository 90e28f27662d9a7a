// SPDX-License-Identifier: GPL-3.0-or-later
// The auto playlister: watches one folder tree and acts on each new, complete media file once: enqueues it in the
// selected player (a running WinAMP or NAD, or any other but Sonique through the window's enqueue), adds it to the
// virtual playlist and appends it to a saved playlist, as the settings say.
// The window's parts (players, playlist view, status line, media information) come in as callbacks.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "components/Fsnotify/TFSNotify.h"
#include "library/auto_playlist_burst.h"
#include "library/folder_scanner.h"
#include "library/main_settings.h"

namespace karvo {

class named_file_store;

// The [AutoPlaylister] keys, as the settings read them.
using auto_playlister_options = auto_playlister_settings;

std::string watch_limit_message(const std::string& folder);

struct auto_playlister_services {
    TFSNotify& watcher;          // AutoPlaylisterChange
    folder_scanner& scanner;     // InitialScan, AutoPlaylistScan and the known-file list
    named_file_store& playlists; // the saved playlists
    media_info_source media_info;
    std::function<std::string()> player_top; // the players panel's title, lblPlayerTop
    path_sink enqueue_winamp;                // the Winamp driver's enqueue
    path_sink enqueue_nad;                   // the NAD driver's window look-up, then its enqueue
    path_sink add_to_playlist;               // the common add-file operation, empty list name, view updated
    message_sink show_message;               // the status line
    path_sink enqueue_other = {};            // any other selected player but Sonique: the channel of F8
    // A file acted on earlier was written again: its rows in the virtual playlist get this media info string.
    std::function<void(const std::string& path, const std::string& info)> refresh_in_playlist = {};
    // The described files of a burst go to the virtual playlist together, with the information read; without it
    // each goes through add_to_playlist, which reads its information itself.
    std::function<void(const std::vector<burst_file>& files)> add_burst_to_playlist = {};
    // Runs a burst's job away from this thread and calls `finish` back on this thread once the job is over
    // (cancelled or not); without it the job runs here, at once.
    std::function<void(std::shared_ptr<auto_playlist_burst> job, std::function<void()> finish)> run_burst = {};
};

class auto_playlister {
public:
    // Binds the watcher's events and gives it the main window's filters and sub-tree flag.
    explicit auto_playlister(auto_playlister_services services);
    ~auto_playlister();
    auto_playlister(const auto_playlister&) = delete;
    auto_playlister& operator=(const auto_playlister&) = delete;

    // Start-up and every settings reload: the folder, the watch, and, when watching an existing folder, the
    // known-file list rebuilt from what is there now. A watch that ended by itself starts again.
    void reload(const auto_playlister_options& options);
    const auto_playlister_options& options() const { return options_; }

    // The watcher's OnChange: each new media file below the folder, once it is complete, is recorded and acted on.
    // A file acted on earlier that was written again has its entry brought up to date. A change raised while this
    // or its burst's job runs makes it scan once more instead of being lost. The new files' information is read by
    // the burst's job; the actions follow when it is over, for the files it reached.
    void AutoPlaylisterChange(TFSNotify& sender);
    // The burst whose job runs now, if any (its control cancels it: the files it has not reached are left out).
    std::shared_ptr<auto_playlist_burst> running_burst() const { return burst_; }

private:
    void finish_burst(const auto_playlist_burst& burst);
    void act_on(const burst_file& file);
    // The files of one burst go into the saved playlist together: one read, one atomic write. A write that failed
    // keeps them for the next burst, so each file is added once.
    void append_to_saved_playlist();
    void refresh(const std::string& path);

    auto_playlister_services services_;
    auto_playlister_options options_;
    string_list for_saved_playlist_; // media info strings waiting for the saved playlist
    bool saved_playlist_exists_ = false; // looked up once per burst
    bool scanning_ = false;
    std::shared_ptr<auto_playlist_burst> burst_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true); // a finish that comes after this object is ignored
    bool scan_again_ = false;
    std::unordered_set<std::string> acted_; // files acted on this run
};

} // namespace karvo
