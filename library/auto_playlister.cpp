// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/auto_playlister.h"

#include "library/media_entry.h"
#include "library/named_file_store.h"
#include "platform/file_system.h"

namespace karvo {

std::string watch_limit_message(const std::string& folder) {
    return "Auto Playlister: the system allows no more folder watches; not watched: " + folder;
}

auto_playlister::auto_playlister(auto_playlister_services services) : services_(std::move(services)) {
    TFSNotify& w = services_.watcher;
    w.SetFilters(cFileName);
    w.SetSubTree(true);
    w.OnChange = [this](TFSNotify& sender) { AutoPlaylisterChange(sender); };
    w.OnWatchLimit = [this](TFSNotify&, const std::string& folder) {
        if (services_.show_message)
            services_.show_message(watch_limit_message(folder));
    };
}

auto_playlister::~auto_playlister() {
    if (burst_)
        burst_->control().cancel();
    services_.watcher.SetActive(false);
    services_.watcher.OnChange = nullptr;
    services_.watcher.OnWatchLimit = nullptr;
}

void auto_playlister::reload(const auto_playlister_options& options) {
    options_ = options;
    TFSNotify& w = services_.watcher;
    if (!options.enabled)
        w.SetActive(false); // before the path, which would restart a running watch
    w.SetPath(options.dir);
    services_.scanner.set_watched_folder(options.dir);
    w.SetActive(options.enabled);
    if (w.Active() && platform::directory_exists(options.dir))
        services_.scanner.initial_scan();
}

void auto_playlister::AutoPlaylisterChange(TFSNotify& sender) {
    if (scanning_ || burst_) {
        scan_again_ = true;
        return;
    }
    string_list found;
    {
        struct scan_flag {
            bool& flag;
            ~scan_flag() { flag = false; }
        } guard{scanning_ = true};
        std::unordered_set<std::string> new_now;
        do {
            scan_again_ = false;
            services_.scanner.change_scan(
                [&](const std::string& path) {
                    new_now.insert(path);
                    acted_.insert(path);
                    found.push_back(path);
                },
                [&sender](const std::string& path) { return sender.FileComplete(path); });
        } while (scan_again_);
        // A file taken once its size had held still may have been a stalled copy that went on afterwards.
        for (const std::string& path : sender.ChangedFiles())
            if (acted_.count(path) != 0 && new_now.count(path) == 0)
                refresh(path);
    }
    if (found.empty())
        return;
    saved_playlist_exists_ = options_.add_saved_playlist && services_.playlists.exists(options_.saved_playlist);
    const bool read_info = saved_playlist_exists_ || (options_.add_curr_playlist && services_.add_burst_to_playlist);
    burst_ = std::make_shared<auto_playlist_burst>(std::move(found), services_.media_info, read_info);
    std::function<void()> finish = [this, alive = std::weak_ptr<bool>(alive_), burst = burst_] {
        if (!alive.expired())
            finish_burst(*burst);
    };
    if (services_.run_burst) {
        services_.run_burst(burst_, std::move(finish));
    } else {
        burst_->run();
        finish();
    }
}

void auto_playlister::finish_burst(const auto_playlist_burst& burst) {
    burst_.reset();
    std::vector<burst_file> to_playlist;
    for (const burst_file& file : burst.files()) {
        act_on(file);
        if (options_.add_curr_playlist && has_media_path(file.info))
            to_playlist.push_back(file);
    }
    if (options_.add_curr_playlist && services_.add_burst_to_playlist && !to_playlist.empty())
        services_.add_burst_to_playlist(to_playlist);
    append_to_saved_playlist();
    if (scan_again_) {
        scan_again_ = false;
        AutoPlaylisterChange(services_.watcher);
    }
}

void auto_playlister::append_to_saved_playlist() {
    if (for_saved_playlist_.empty())
        return;
    if (!options_.add_saved_playlist || !services_.playlists.exists(options_.saved_playlist)) {
        for_saved_playlist_.clear();
        return;
    }
    string_list lines = services_.playlists.load(options_.saved_playlist);
    lines.insert(lines.end(), for_saved_playlist_.begin(), for_saved_playlist_.end());
    if (services_.playlists.save(options_.saved_playlist, lines))
        for_saved_playlist_.clear();
}

void auto_playlister::refresh(const std::string& path) {
    const std::string info = services_.media_info ? services_.media_info(path) : std::string();
    if (!has_media_path(info))
        return;
    if (services_.refresh_in_playlist)
        services_.refresh_in_playlist(path, info);
    if (!options_.add_saved_playlist || !services_.playlists.exists(options_.saved_playlist))
        return;
    string_list lines = services_.playlists.load(options_.saved_playlist);
    bool changed = false;
    for (std::string& line : lines) {
        if (split_media_info(line)[0] == path && line != info) {
            line = info;
            changed = true;
        }
    }
    if (changed)
        services_.playlists.save(options_.saved_playlist, lines);
}

void auto_playlister::act_on(const burst_file& file) {
    const std::string& path = file.path;
    if (options_.enqueue && services_.player_top) {
        const std::string player = services_.player_top();
        if (player == "WinAMP" && services_.enqueue_winamp)
            services_.enqueue_winamp(path);
        if (player == "NAD" && services_.enqueue_nad)
            services_.enqueue_nad(path);
        if (player != "WinAMP" && player != "NAD" && player != "Sonique" && services_.enqueue_other)
            services_.enqueue_other(path);
    }
    if (options_.add_curr_playlist && services_.add_to_playlist && !services_.add_burst_to_playlist)
        services_.add_to_playlist(path);
    // A file the plug-in cannot describe gives no blank line.
    if (saved_playlist_exists_ && has_media_path(file.info))
        for_saved_playlist_.push_back(file.info);
}

} // namespace karvo
