// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_import_job.h"

#include "library/playlist_class.h"
#include "platform/file_system.h"

namespace karvo {

playlist_import_job::playlist_import_job(std::string file, playlist_format format, std::string name,
                                         media_info_source info, read_ahead_policy read_ahead,
                                         std::vector<std::string> roots)
    : file_(std::move(file)), format_(format), name_(std::move(name)), info_(std::move(info)),
      read_ahead_(std::move(read_ahead)), roots_(std::move(roots)) {}

void playlist_import_job::run() {
    playlist_read read = read_playlist(file_, format_, roots_);
    report_ = std::move(read.report);
    // The import of a missing PLS has always given an empty playlist; data that is not a playlist gives none.
    const bool missing_pls = format_ == playlist_format::pls && !platform::path_exists(file_);
    if (missing_pls)
        report_.error.clear();
    readable_ = report_.error.empty();
    if (readable_ && !control_.cancelled()) {
        const std::vector<playlist_entry>& entries = read.entries;
        control_.set_total(static_cast<int>(entries.size()));
        std::vector<std::string> paths;
        paths.reserve(entries.size());
        for (const playlist_entry& entry : entries)
            paths.push_back(entry.path);
        lines_.reserve(entries.size());
        read_ahead_some(
            paths, [&](std::size_t i) { return info_ && entries[i].state != entry_state::stream; }, info_,
            read_ahead_,
            [&](std::size_t i, std::string info) {
                lines_.push_back(media_info_line(entries[i], std::move(info)));
                control_.step();
                return !control_.cancelled();
            });
    }
    control_.finish();
}

import_outcome playlist_import_job::save_into(playlist_class& store) {
    import_outcome outcome;
    outcome.name = name_;
    outcome.report = report_;
    if (!readable_) {
        outcome.result = command_result::failed;
        return outcome;
    }
    if (control_.cancelled())
        return outcome; // cancelled: nothing saved
    if (!playlist_class::is_valid_name(name_) || !store.save(name_, lines_)) {
        outcome.report.error = "the saved playlist \"" + name_ + "\" could not be written";
        outcome.result = command_result::failed;
        return outcome;
    }
    outcome.result = command_result::done;
    return outcome;
}

} // namespace karvo
