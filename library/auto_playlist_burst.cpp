// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/auto_playlist_burst.h"

namespace karvo {

auto_playlist_burst::auto_playlist_burst(string_list paths, media_info_source media_info, bool read_info)
    : paths_(std::move(paths)), media_info_(std::move(media_info)), read_info_(read_info && media_info_) {
    control_.set_total(static_cast<int>(paths_.size()));
}

void auto_playlist_burst::run() {
    files_.reserve(paths_.size());
    for (std::string& path : paths_) {
        if (control_.cancelled())
            break;
        std::string info = read_info_ ? media_info_(path) : std::string();
        files_.push_back({std::move(path), std::move(info)});
        control_.step();
    }
    control_.finish();
}

} // namespace karvo
