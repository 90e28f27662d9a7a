// SPDX-License-Identifier: GPL-3.0-or-later
// A playlist import as a job: reading the file, resolving its paths and reading each entry's media information
// (the slow part) run on whatever thread runs it, with progress and a cancel flag. Saving the result, one atomic
// write into the stores, is done afterwards on the thread that owns them.
#pragma once

#include "components/Readahead/read_ahead_pool.h"
#include "library/job_control.h"
#include "library/playlist_files.h"
#include "library/playlist_import.h"

#include <string>
#include <vector>

namespace karvo {

class playlist_class;

class playlist_import_job {
public:
    // `name`: the saved playlist it becomes. `read_ahead`: how `info` may be called.
    playlist_import_job(std::string file, playlist_format format, std::string name, media_info_source info,
                        read_ahead_policy read_ahead, std::vector<std::string> roots);

    // Any thread, once. The total is the number of entries once the file is read; each entry read is a step.
    void run();
    job_control& control() { return control_; }
    const job_control& control() const { return control_; }
    const std::string& file() const { return file_; }
    const std::string& name() const { return name_; }

    // On the stores' thread, after run(): saves the lines as the saved playlist `name` (replacing one of that name),
    // or nothing when the file was no playlist or the job was cancelled (result cancelled).
    import_outcome save_into(playlist_class& store);

private:
    std::string file_;
    playlist_format format_;
    std::string name_;
    media_info_source info_;
    read_ahead_policy read_ahead_;
    std::vector<std::string> roots_;
    import_report report_;
    string_list lines_;
    bool readable_ = false;
    job_control control_;
};

} // namespace karvo
