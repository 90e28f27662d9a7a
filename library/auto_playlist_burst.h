// SPDX-License-Identifier: GPL-3.0-or-later
// One burst of the auto playlister as a job: the media information of the burst's new files, the part that waits on
// the plug-in, is read on whatever thread runs it, with progress and a cancel flag. What follows (the player, the
// playlist view and the saved playlist's one write) is done by the auto playlister on the thread that owns them.
#pragma once

#include "library/folder_scanner.h"
#include "library/job_control.h"
#include "library/string_list.h"

#include <string>
#include <vector>

namespace karvo {

struct burst_file {
    std::string path;
    std::string info; // empty when not read (not needed, or the plug-in could not describe the file)
};

class auto_playlist_burst {
public:
    // `read_info` off: the files are only handed on, in order.
    auto_playlist_burst(string_list paths, media_info_source media_info, bool read_info);

    // Any thread, once. Stops between files when cancelled; the files reached by then stay in files().
    void run();
    job_control& control() { return control_; }
    const job_control& control() const { return control_; }
    // After run(): the files of the burst in the order found, up to where a cancel stopped it.
    const std::vector<burst_file>& files() const { return files_; }
    // Files a cancel left unread and not handed on.
    int skipped() const { return control_.total() - static_cast<int>(files_.size()); }

private:
    string_list paths_;
    media_info_source media_info_;
    bool read_info_;
    std::vector<burst_file> files_;
    job_control control_;
};

} // namespace karvo
