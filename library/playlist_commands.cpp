// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_commands.h"

#include <optional>

#include "library/command_texts.h"
#include "library/media_cd_commands.h"
#include "library/media_list.h"
#include "library/navigation_tree_logic.h"
#include "library/playlist_class.h"
#include "platform/file_system.h"
#include "platform/prompts.h"

namespace karvo {

namespace {

bool in_playlist_mode(const shell_state& state) {
    return state.mode == PlaylistMode::playlist && !state.current_playlist_name.empty();
}

// A saved playlist that exists gets its tree node back by a new listing, a new one gets a node of its own.
void show_saved_playlist(store_outcome& outcome, const std::string& name, bool existed) {
    if (existed) {
        outcome.tree.relist_playlists = true;
        outcome.tree.refresh_groupings = name;
    } else {
        outcome.tree.add_playlist_node = name;
    }
}

} // namespace

store_outcome new_playlist(store_context& context) {
    store_outcome outcome;
    std::string initial = texts::new_playlist_default;
    std::string name;
    bool existed = false;
    for (;;) {
        const auto entered =
            context.prompts.input_box(context.texts.title, context.texts[texts::enter_new_playlist_name], initial);
        if (!entered)
            return outcome;
        name = *entered;
        if (name.empty()) {
            inform(context, context.texts[texts::nothing_entered]);
            continue;
        }
        initial = name;
        if (const auto problem = unusable_name_message(name)) {
            inform(context, *problem);
            continue;
        }
        existed = context.playlists.exists(name);
        if (existed && !confirm(context, texts::playlist_exists_question))
            continue;
        break;
    }
    // Written first: a playlist that cannot be stored must not become the current one.
    if (!context.playlists.save(name, {})) {
        inform(context, write_failed_message(name));
        return outcome;
    }
    begin_new_list(context.list);
    context.state.current_playlist_name = name;
    context.state.mode.show_playlist();
    outcome.done = true;
    outcome.list = list_change::rewritten;
    show_saved_playlist(outcome, name, existed);
    return outcome;
}

store_outcome delete_playlist(store_context& context, bool saved_playlist_node_selected) {
    store_outcome outcome;
    if (!saved_playlist_node_selected)
        return outcome;
    const std::string name = context.state.current_playlist_name;
    if (name.empty()) {
        inform(context, context.texts[texts::choose_playlist_to_delete]);
        return outcome;
    }
    if (!confirm(context, context.texts[texts::delete_playlist_question] + " " + name + " ?"))
        return outcome;
    if (!context.playlists.remove(name))
        return outcome;
    begin_new_list(context.list);
    context.state.current_playlist_name.clear();
    outcome.done = true;
    outcome.list = list_change::rewritten;
    outcome.tree.relist_playlists = true;
    return outcome;
}

store_outcome rename_playlist(store_context& context) {
    store_outcome outcome;
    const std::string old_name = context.state.current_playlist_name;
    if (old_name.empty())
        return outcome;
    const auto name =
        ask_item_name(context, context.texts[texts::rename_playlist_prompt] + " " + old_name + ".", old_name);
    if (!name)
        return outcome;
    outcome.tree.relist_playlists = true;
    if (!context.playlists.rename(old_name, *name)) {
        inform(context, rename_failed_message(old_name, *name));
        return outcome;
    }
    context.state.current_playlist_name = *name;
    context.list.set_list_name_of_all(*name);
    outcome.done = true;
    outcome.list = list_change::list_names;
    return outcome;
}

store_outcome save_playlist(store_context& context) {
    if (context.state.mode.saves_media_cd())
        return save_media_cd(context);
    store_outcome outcome;
    const std::string name = context.state.current_playlist_name;
    // The file is replaced in one atomic step rather than deleted first: a failed write keeps the saved copy.
    if (!in_playlist_mode(context.state) || !context.playlists.exists(name)) {
        inform(context, context.texts[texts::cant_save_playlist]);
        return outcome;
    }
    if (!save_media_list_as_playlist(context.playlists, name, context.list)) {
        inform(context, write_failed_message(name));
        return outcome;
    }
    outcome.done = true;
    outcome.list = list_change::list_names;
    outcome.tree.refresh_groupings = name;
    return outcome;
}

store_outcome save_playlist_as(store_context& context) {
    store_outcome outcome;
    shell_state& state = context.state;
    if (!state.mode.can_save_as(context.list.count()))
        return outcome;
    const auto name = ask_item_name(context, context.texts[texts::enter_playlist_name] + " " + shown_list_name(state),
                                    texts::save_as_default);
    if (!name)
        return outcome;
    const bool existed = context.playlists.exists(*name);
    if (!save_media_list_as_playlist(context.playlists, *name, context.list)) {
        inform(context, write_failed_message(*name));
        return outcome;
    }
    // The rows shown are now that saved playlist: a later empty search must not bring back the list they came from.
    if (!(state.mode == PlaylistMode::playlist))
        context.list.discard_backup();
    state.mode.show_playlist();
    state.current_playlist_name = *name;
    outcome.done = true;
    outcome.list = list_change::list_names;
    show_saved_playlist(outcome, *name, existed);
    return outcome;
}

store_outcome revert_playlist(store_context& context) {
    store_outcome outcome;
    const shell_state& state = context.state;
    const bool media_cd = state.mode.saves_media_cd() && !state.current_media_cd_name.empty();
    if (!in_playlist_mode(state) && !media_cd)
        return outcome;
    if (!confirm(context, context.texts[texts::revert_question]))
        return outcome;
    begin_new_list(context.list);
    if (media_cd)
        return load_media_cd(context, state.current_media_cd_name);
    load_playlist_into(context.playlists, state.current_playlist_name, context.list);
    outcome.done = true;
    outcome.list = list_change::rewritten;
    outcome.tree.refresh_groupings = state.current_playlist_name;
    return outcome;
}

store_outcome recache_playlist(store_context& context, const recache_info_source& info,
                               const recache_status& show_status, const read_ahead_policy& read_ahead) {
    store_outcome outcome;
    if (!in_playlist_mode(context.state))
        return outcome;
    media_list& list = context.list;
    std::vector<std::string> paths;
    std::vector<int> rows;
    for (int row = 0; row < list.count(); ++row) {
        std::string path(list.full_path(row));
        if (!platform::file_exists(path))
            continue;
        paths.push_back(std::move(path));
        rows.push_back(row);
    }
    std::size_t done = 0;
    read_ahead_each(paths, info, read_ahead, [&](const read_ahead_result& result) {
        if (show_status)
            show_status(texts::recaching_file + result.path);
        // A file the plug-in cannot describe any more keeps the entry it had.
        list.replace(rows[done++], result.info);
    });
    outcome.done = true;
    outcome.list = list_change::rows_replaced;
    outcome.tree.refresh_groupings = context.state.current_playlist_name;
    return outcome;
}

store_outcome display_all_saved_playlists(store_context& context) {
    begin_new_list(context.list);
    display_all_saved_playlists(context.playlists, context.list);
    context.state.mode.show_all_playlists();
    context.state.current_playlist_name.clear();
    store_outcome outcome;
    outcome.done = true;
    outcome.list = list_change::rewritten;
    return outcome;
}

store_outcome send_to(store_context& context, const std::string& target, const std::vector<int>& selected) {
    store_outcome outcome;
    if (selected.empty() || !context.playlists.exists(target))
        return outcome;
    if (!append_rows_to_playlist(context.playlists, target, context.list, selected)) {
        inform(context, write_failed_message(target));
        return outcome;
    }
    outcome.done = true;
    outcome.tree.refresh_groupings = target;
    return outcome;
}

std::string shown_list_name(const shell_state& state) {
    switch (state.mode.value()) {
        case PlaylistMode::playlist:
        case PlaylistMode::grouping: return state.current_playlist_name;
        case PlaylistMode::media_cd: return state.current_media_cd_name;
        case PlaylistMode::all_playlists: return "My Playlists";
        case PlaylistMode::all_media_cds: return "My Media CDs";
        default: return "Virtual Playlist";
    }
}

} // namespace karvo
