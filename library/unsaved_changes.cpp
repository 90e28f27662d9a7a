// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/unsaved_changes.h"

#include "library/command_texts.h"
#include "library/playlist_class.h"
#include "library/playlist_commands.h"
#include "library/playlist_history.h"
#include "platform/prompts.h"

namespace karvo {

std::string save_changes_question(const shell_state& state) {
    return "Save changes to \"" + shown_list_name(state) + "\"?";
}

unsaved_outcome settle_unsaved_changes(store_context& context, playlist_history& history) {
    unsaved_outcome outcome;
    if (!history.modified())
        return outcome;
    const platform::message_result answer =
        context.prompts.message_box(save_changes_question(context.state), context.texts.title,
                                    platform::message_buttons::yes_no_cancel, platform::message_icon::question);
    if (answer == platform::message_result::no)
        return outcome;
    if (answer != platform::message_result::yes) {
        outcome.go_on = false;
        return outcome;
    }
    const shell_state& state = context.state;
    // A list a search has narrowed holds only the rows found: it goes to a new playlist, never over its own file.
    const bool narrowed = context.list.backup_count() >= 0;
    const bool own_file =
        !narrowed && ((state.mode == PlaylistMode::playlist && context.playlists.exists(state.current_playlist_name)) ||
                      (state.mode == PlaylistMode::media_cd && !state.current_media_cd_name.empty()));
    outcome.saved = own_file ? save_playlist(context) : save_playlist_as(context);
    outcome.go_on = outcome.saved.done;
    if (outcome.saved.done)
        history.mark_saved();
    return outcome;
}

} // namespace karvo
