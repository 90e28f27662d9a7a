// SPDX-License-Identifier: GPL-3.0-or-later
#include "players/linux_player_class.h"

#include <algorithm>

#include "platform/program_starter.h"
#include "players/driver_path.h"
#include "platform/file_uri.h"
#include "players/mpv_ipc.h"
#include "players/playback_commands.h"
#include "players/player_table.h"

namespace karvo {
namespace {

const std::string prefix = platform::media_player_name_prefix;

bool matches_suffix(const std::string& bus_name, const std::string& suffix) {
    const std::string exact = prefix + suffix;
    return bus_name == exact ||
           (bus_name.size() > exact.size() && bus_name.starts_with(exact) && bus_name[exact.size()] == '.');
}

bool known_to_table(const player_table& table, const std::string& bus_name) {
    return std::any_of(table.rows.begin(), table.rows.end(), [&](const player_row& row) {
        return std::any_of(row.bus_names.begin(), row.bus_names.end(),
                           [&](const std::string& suffix) { return matches_suffix(bus_name, suffix); });
    });
}

// A template's placeholders filled in; several runs when it takes one file at a time.
std::vector<std::string> expand_switch(const std::string& parameters, const string_list& paths) {
    const bool per_file = parameters.find("%f") != std::string::npos || parameters.find("%u") != std::string::npos;
    const bool all_files = parameters.find("%F") != std::string::npos || parameters.find("%U") != std::string::npos;
    const auto fill = [&](const string_list& files) {
        std::string plain;
        std::string uris;
        for (const std::string& file : files) {
            plain.append(plain.empty() ? "" : " ").append(quote_argument(file));
            uris.append(uris.empty() ? "" : " ").append(quote_argument(platform::file_uri(file)));
        }
        std::string result;
        for (std::size_t i = 0; i < parameters.size(); ++i) {
            const char next = i + 1 < parameters.size() ? parameters[i + 1] : '\0';
            if (parameters[i] == '%' && (next == 'f' || next == 'F')) {
                result += plain;
                ++i;
            } else if (parameters[i] == '%' && (next == 'u' || next == 'U')) {
                result += uris;
                ++i;
            } else {
                result += parameters[i];
            }
        }
        return result;
    };
    if (per_file) {
        std::vector<std::string> runs;
        for (const std::string& path : paths)
            runs.push_back(fill({path}));
        return runs;
    }
    if (all_files)
        return {fill(paths)};
    return {parameters};
}

string_list sendable(const string_list& paths) {
    string_list kept;
    for (const std::string& path : paths)
        if (is_sendable_path(path))
            kept.push_back(path);
    return kept;
}

command_outcome outcome_of(platform::bus_reply reply) {
    switch (reply) {
        case platform::bus_reply::ok: return command_outcome::done;
        case platform::bus_reply::no_reply: return command_outcome::not_answering;
        case platform::bus_reply::failed: return command_outcome::not_running;
    }
    return command_outcome::not_running;
}

} // namespace

linux_player_class::linux_player_class(linux_player_services services) : services_(std::move(services)) {}

void linux_player_class::set_program_path(const std::string& path) {
    program_path_ = path;
}

const player_row* linux_player_class::row() const {
    return services_.table.find(program_path_);
}

std::vector<std::string> linux_player_class::bus_suffixes() const {
    const player_row* known = row();
    if (known != nullptr && !known->bus_names.empty())
        return known->bus_names;
    // A program the table does not name usually takes its own name on the bus.
    const std::string name = program_base_name(program_path_);
    return name.empty() ? std::vector<std::string>{} : std::vector<std::string>{name};
}

bool linux_player_class::is_instance(const std::string& bus_name) const {
    const auto suffixes = bus_suffixes();
    return std::any_of(suffixes.begin(), suffixes.end(),
                       [&](const std::string& suffix) { return matches_suffix(bus_name, suffix); });
}

bool linux_player_class::is_running_instance(const std::string& bus_name) {
    if (is_instance(bus_name))
        return true;
    const std::vector<std::string> names = instances();
    return std::find(names.begin(), names.end(), bus_name) != names.end();
}

std::vector<std::string> linux_player_class::instances() {
    if (program_path_.empty())
        return {};
    const std::vector<std::string> names = services_.bus.player_names();
    std::vector<std::string> found;
    for (const std::string& suffix : bus_suffixes())
        for (const std::string& name : names)
            if (matches_suffix(name, suffix) && std::find(found.begin(), found.end(), name) == found.end())
                found.push_back(name);
    // The plain name before its numbered instances.
    std::stable_sort(found.begin(), found.end(),
                     [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
    if (!found.empty())
        return found;
    // A player under a name of its own: known by its desktop entry, unless the table gives that name to another.
    const player_row* known = row();
    if (known == nullptr || known->desktop_entry.empty())
        return {};
    for (const std::string& name : names) {
        if (known_to_table(services_.table, name))
            continue;
        const auto state = services_.bus.state(name);
        if (state && state->desktop_entry == known->desktop_entry)
            found.push_back(name);
    }
    return found;
}

found_player linux_player_class::find_player() {
    found_player result;
    for (const std::string& name : instances()) {
        platform::bus_reply reply = platform::bus_reply::failed;
        auto state = services_.bus.state(name, &reply);
        if (state) {
            return {player_reach::running, name, std::move(*state)};
        }
        if (reply == platform::bus_reply::no_reply && result.reach == player_reach::not_running) {
            result.reach = player_reach::not_answering;
            result.bus_name = name;
        }
    }
    return result;
}

command_outcome linux_player_class::over_ipc(const std::vector<std::vector<std::string>>& commands) {
    const player_row* known = row();
    if (known == nullptr || known->ipc.empty())
        return command_outcome::not_running;
    switch (send_ipc_commands(services_.sockets, services_.ipc_socket_path, commands)) {
        case ipc_result::done:
        case ipc_result::refused: return command_outcome::done;
        case ipc_result::no_answer: return command_outcome::not_answering;
        case ipc_result::not_listening: break;
    }
    return command_outcome::not_running;
}

command_outcome linux_player_class::stop() {
    // Over the bus some players drop their list on Stop; their own socket can keep it.
    const command_outcome own = over_ipc({{"stop", "keep-playlist"}});
    if (own != command_outcome::not_running)
        return own;
    const std::vector<std::string> names = instances();
    if (names.empty())
        return command_outcome::not_running;
    bool silent = false;
    for (const std::string& name : names)
        silent = services_.bus.command(name, platform::media_command::stop) == platform::bus_reply::no_reply || silent;
    // A player that quit while it was told to stop has stopped.
    return silent ? command_outcome::not_answering : command_outcome::done;
}

command_outcome linux_player_class::replace_list(const std::string& list_file, const string_list& paths) {
    const command_outcome own = over_ipc({{"loadlist", list_file, "replace"}, {"set", "pause", "no"}});
    if (own != command_outcome::not_running)
        return own;
    const player_row* known = row();
    const bool has_switch = known != nullptr && !known->replace.empty();
    const found_player player = find_player();
    if (player.reach == player_reach::not_answering)
        return command_outcome::not_answering;
    if (player.reach != player_reach::running)
        return command_outcome::not_running;
    if (has_switch) {
        run_switch(known->replace, {list_file});
        return command_outcome::done;
    }
    // Started again with the list, a player without a switch for it may open a second instance beside this one,
    // so its track list takes the files when it has one (some have one without saying so in HasTrackList).
    return replace_tracks(player.bus_name, sendable(paths));
}

bool linux_player_class::run_switch(const std::string& parameters, const string_list& paths) {
    if (parameters.empty())
        return false;
    if (!paths.empty())
        for (const std::string& run : expand_switch(parameters, paths))
            services_.starter.open(program_path_, run, "", platform::show_mode::show);
    return true;
}

command_outcome linux_player_class::insert_tracks(const std::string& bus_name, const string_list& paths,
                                                  const std::string& after, bool play_first) {
    // Each goes right after `after`, so they are added from the last to the first.
    for (auto path = paths.rbegin(); path != paths.rend(); ++path) {
        const bool current = play_first && std::next(path) == paths.rend();
        const platform::bus_reply added = services_.bus.add_track(bus_name, platform::file_uri(*path), after, current);
        if (added != platform::bus_reply::ok)
            return outcome_of(added);
    }
    return command_outcome::done;
}

command_outcome linux_player_class::add_tracks(const std::string& bus_name, const string_list& paths) {
    if (paths.empty())
        return command_outcome::done;
    platform::bus_reply reply = platform::bus_reply::failed;
    const auto tracks = services_.bus.track_ids(bus_name, &reply);
    if (!tracks)
        return outcome_of(reply);
    return insert_tracks(bus_name, paths, tracks->empty() ? std::string() : tracks->back(), false);
}

command_outcome linux_player_class::replace_tracks(const std::string& bus_name, const string_list& paths) {
    platform::bus_reply reply = platform::bus_reply::failed;
    const auto old = services_.bus.track_ids(bus_name, &reply);
    if (!old) // no track list: the caller starts the program with the list
        return reply == platform::bus_reply::no_reply ? command_outcome::not_answering : command_outcome::not_running;
    // The new tracks first, the first of them playing, then the old ones go: the player never runs out of list.
    if (const command_outcome added = insert_tracks(bus_name, paths, old->empty() ? std::string() : old->back(), true);
        added != command_outcome::done)
        return added;
    for (const std::string& track : *old)
        if (const platform::bus_reply removed = services_.bus.remove_track(bus_name, track);
            removed != platform::bus_reply::ok)
            return outcome_of(removed);
    // Removing the track that was still playing may stop the player before it turns to the new one.
    return outcome_of(services_.bus.command(bus_name, platform::media_command::play));
}

command_outcome linux_player_class::enqueue(const string_list& all_paths) {
    const string_list paths = sendable(all_paths);
    const found_player player = find_player();
    if (player.reach == player_reach::not_answering)
        return command_outcome::not_answering;
    if (player.reach == player_reach::running && player.state.has_track_list)
        return add_tracks(player.bus_name, paths);
    const player_row* known = row();
    if (known != nullptr && run_switch(known->enqueue, paths))
        return command_outcome::done;
    // Appended without starting it: after a Stop the player keeps waiting with its list.
    std::vector<std::vector<std::string>> commands;
    for (const std::string& path : paths)
        commands.push_back({"loadfile", platform::file_uri(path), "append"});
    if (const command_outcome own = over_ipc(commands); own != command_outcome::not_running)
        return own;
    return player.reach == player_reach::running ? command_outcome::unsupported : command_outcome::not_running;
}

command_outcome linux_player_class::transport(platform::media_command command,
                                              const std::string player_row::*switch_field) {
    const found_player player = find_player();
    if (player.reach == player_reach::not_answering)
        return command_outcome::not_answering;
    if (player.reach == player_reach::running)
        return outcome_of(services_.bus.command(player.bus_name, command));
    const player_row* known = row();
    if (known != nullptr && !(known->*switch_field).empty()) {
        services_.starter.open(program_path_, known->*switch_field, "", platform::show_mode::show);
        return command_outcome::done;
    }
    return command_outcome::not_running;
}

command_outcome linux_player_class::play() {
    return transport(platform::media_command::play, &player_row::play);
}
command_outcome linux_player_class::pause() {
    return transport(platform::media_command::pause, &player_row::pause);
}
command_outcome linux_player_class::play_pause() {
    // With nothing running there is nothing to pause: the play switch starts it.
    return transport(platform::media_command::play_pause, &player_row::play);
}
command_outcome linux_player_class::next_track() {
    return transport(platform::media_command::next, &player_row::next);
}
command_outcome linux_player_class::previous_track() {
    return transport(platform::media_command::previous, &player_row::previous);
}

std::string linux_player_class::start_parameters(const std::string& quoted_list) const {
    const player_row* known = row();
    if (known == nullptr || known->ipc.empty() || services_.ipc_socket_path.empty())
        return quoted_list;
    std::string opening = known->ipc;
    const std::size_t at = opening.find("%s");
    if (at == std::string::npos)
        return quoted_list;
    opening.replace(at, 2, quote_argument(services_.ipc_socket_path));
    return opening + " " + quoted_list;
}

std::string linux_player_class::playing_path() {
    const found_player player = find_player();
    return player.reach == player_reach::running ? platform::path_of_file_uri(player.state.track.url) : std::string();
}

} // namespace karvo
