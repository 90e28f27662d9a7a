// SPDX-License-Identifier: GPL-3.0-or-later
// The copy of an edited virtual playlist kept in the data folder while it differs from its saved file, so a
// logout, a signal or a crash loses at most the last few seconds of work: the rows with their list names and what
// the list was shown as. It is offered again at the next start and removed once the edits are saved or dropped.
#pragma once

#include <optional>
#include <string>

#include "library/media_list.h"
#include "library/shell_state.h"

namespace karvo {

inline constexpr const char* recovery_file_name = "unsaved_playlist.krc";
// The longest time between a change and the copy that holds it.
inline constexpr int recovery_delay_ms = 5000;

struct recovery_copy {
    int mode = -1;
    std::string playlist_name;
    std::string media_cd_name;
    media_list rows;
};

// Replaces the file atomically; false when it could not be written (the older copy stays).
bool write_recovery_copy(const std::string& path, const shell_state& state, const media_list& list);
// nullopt when there is no copy or it is not one (a torn or foreign file is never taken for rows).
std::optional<recovery_copy> read_recovery_copy(const std::string& path);

} // namespace karvo
