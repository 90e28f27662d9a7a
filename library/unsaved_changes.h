// SPDX-License-Identifier: GPL-3.0-or-later
// The question asked before the list on screen is replaced or the program ends while it differs from its saved
// file: "Save changes to "<name>"?" with Yes (save, then go on), No (go on without) and Cancel (stay).
#pragma once

#include <string>

#include "library/store_commands.h"

namespace karvo {

class playlist_history;

std::string save_changes_question(const shell_state& state);

struct unsaved_outcome {
    bool go_on = true;   // false after Cancel, or when the save was cancelled or failed
    store_outcome saved; // what a save asked of the tree and the view
};

// Asks only while the list is modified. Yes saves a saved playlist or Media CD in place and any other list as a
// new saved playlist (Save As); a successful save marks the history saved.
unsaved_outcome settle_unsaved_changes(store_context& context, playlist_history& history);

} // namespace karvo
