// SPDX-License-Identifier: GPL-3.0-or-later
#include "players/playback_commands.h"

#include <algorithm>
#include <vector>

#include "library/media_list.h"
#include "library/my_computer_list.h"
#include "library/named_file_store.h"
#include "library/playlist_files.h"
#include "platform/file_system.h"
#include "platform/program_starter.h"
#include "platform/prompts.h"
#include "platform/random.h"
#include "platform/window_messages.h"
#include "players/mpd_player.h"
#include "players/nad_class.h"
#include "players/player_selection.h"
#include "players/player_table.h"
#include "players/sonique_class.h"
#include "players/winamp_class.h"

namespace karvo {
namespace {

constexpr int nothing_in_playlist_message = 50;
constexpr int enqueue_unavailable_message = 59;
constexpr int nothing_selected_message = 60;

constexpr int winamp_tag = 0;
constexpr int nad_tag = 5;

// Popup sizes and where they sit relative to the players panel.
constexpr int popup_height = 17;
constexpr int two_part_width = 150;
constexpr int two_part_offset = -7;
constexpr int play_only_width = 70;
constexpr int play_only_offset = 30;

// The full paths of the given rows of either list, in list order, each once; rows out of range are left out.
template <typename List>
string_list paths_of_rows(const List& list, std::span<const int> selected) {
    std::vector<int> rows(selected.begin(), selected.end());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    string_list paths;
    for (int row : rows)
        if (row >= 0 && row < list.count())
            paths.emplace_back(list.full_path(row));
    return paths;
}

string_list all_full_paths(const media_list& list) {
    string_list paths;
    paths.reserve(list.count());
    for (int row = 0; row < list.count(); ++row)
        paths.emplace_back(list.full_path(row));
    return paths;
}

} // namespace

std::string message_with(std::string text, std::initializer_list<std::string> values) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const std::size_t index = static_cast<std::size_t>(next - '1');
        if (text[i] == '%' && next >= '1' && next <= '9' && index < values.size()) {
            result += values.begin()[index];
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

std::string listed(const string_list& names, std::size_t max_listed) {
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < max_listed; ++i)
        text += "\n  " + names[i];
    if (names.size() > max_listed)
        text += "\n  ... and " + std::to_string(names.size() - max_listed) + " more";
    return text;
}

std::string did_not_answer_text(const std::string& player_name) {
    return player_name + " did not answer.";
}

std::string quote_argument(const std::string& text) {
    // Backslashes count only before a quote: there they are doubled, so the split gives the text back unchanged.
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
        } else {
            if (c == '"')
                quoted.append(backslashes + 1, '\\');
            backslashes = 0;
        }
        quoted += c;
    }
    quoted.append(backslashes, '\\');
    return quoted + "\"";
}

string_list selected_full_paths(const media_list& list, std::span<const int> selected) {
    return paths_of_rows(list, selected);
}

string_list shuffle_into_slots(const string_list& lines, platform::random_source& random) {
    // The table has one slot per line: a longer list than the usual 30000 slots must not run off its end.
    const std::size_t count = lines.size();
    std::vector<const std::string*> slots(count, nullptr);
    for (const std::string& line : lines) {
        std::size_t slot;
        do
            slot = static_cast<std::size_t>(random.next()) % count;
        while (slots[slot] != nullptr);
        slots[slot] = &line;
    }
    string_list shuffled;
    shuffled.reserve(count);
    for (const std::string* line : slots)
        shuffled.push_back(*line);
    return shuffled;
}

playback_commands::playback_commands(playback_services services) : services_(std::move(services)) {}

std::string playback_commands::temp_list_path() const {
    return temp_playlist_path(services_.data_folder);
}

std::string playback_commands::quoted_temp_list() const {
    return quote_argument(temp_list_path());
}

void playback_commands::show(const std::string& text) {
    services_.prompts.message_box(text, application_title, platform::message_buttons::ok,
                                  platform::message_icon::none);
}

void playback_commands::show_message(int index) {
    show(entry_or_empty(services_.messages, index));
}

void playback_commands::start(const std::string& program, const std::string& parameters) {
    // No player selected: the start would fail anyway, and failures are silent.
    if (program.empty())
        return;
    services_.starter.open(program, parameters, "", platform::show_mode::show);
}

void playback_commands::write_and_start(const string_list& paths, const std::string& program) {
    if (is_mpd(program)) {
        send_to_mpd(paths, true);
        return;
    }
    // A player must never be started with the previous list.
    if (!write_temp_playlist(services_.data_folder, paths)) {
        show(message_with(entry_or_empty(services_.messages, temp_list_not_written_message), {temp_list_path()}));
        return;
    }
    if (services_.linux_players == nullptr) {
        start(program, quoted_temp_list());
        return;
    }
    // A running instance takes the new list in place of its own; otherwise the program starts, with its IPC
    // switches when it has them so that files can be added to it later.
    services_.linux_players->set_program_path(program);
    const command_outcome outcome = services_.linux_players->replace_list(temp_list_path(), paths);
    if (outcome == command_outcome::not_running)
        start(program, services_.linux_players->start_parameters(quoted_temp_list()));
    else
        settled(outcome, name_of(program));
}

bool playback_commands::is_mpd(const std::string& program) const {
    return services_.mpd != nullptr && is_mpd_location(program);
}

std::string playback_commands::name_of(const std::string& program) const {
    const string_list& locations = services_.selection.lists.locations;
    const auto found = std::find(locations.begin(), locations.end(), program);
    if (found == locations.end())
        return program_base_name(program);
    return entry_or_empty(services_.selection.lists.names, static_cast<int>(found - locations.begin()));
}

void playback_commands::send_to_mpd(const string_list& paths, bool replace) {
    const mpd_uris mapped = map_to_mpd(services_.mpd->settings(), paths);
    if (!mapped.left_out.empty())
        show(message_with(entry_or_empty(services_.messages, outside_music_folder_message),
                          {std::to_string(mapped.left_out.size()), name_of(services_.selection.program())}) +
             listed(mapped.left_out));
    if (mapped.uris.empty())
        return;
    if (replace)
        services_.mpd->play(mapped.uris);
    else
        services_.mpd->enqueue(mapped.uris);
}

linux_player_class* playback_commands::bus_driver(const std::string& name, const std::string& program) {
    if (services_.linux_players == nullptr || name == winamp_player_name || name == sonique_player_name ||
        name == nad_player_name)
        return nullptr;
    services_.linux_players->set_program_path(program);
    return services_.linux_players;
}

bool playback_commands::settled(command_outcome outcome, const std::string& name) {
    if (outcome == command_outcome::not_answering) {
        if (services_.status)
            services_.status(did_not_answer_text(name));
        return true;
    }
    return outcome == command_outcome::done;
}

bool playback_commands::enqueue_other(const string_list& paths) {
    const std::string& name = services_.selection.name();
    if (is_mpd(services_.selection.program())) {
        send_to_mpd(paths, false);
        return true;
    }
    linux_player_class* driver = bus_driver(name, services_.selection.program());
    if (driver == nullptr)
        return false;
    if (!settled(driver->enqueue(paths), name))
        show(message_with(entry_or_empty(services_.messages, player_not_reachable_message), {name}));
    return true;
}

void playback_commands::play_paths(const string_list& paths) {
    write_and_start(paths, services_.selection.program());
}

void playback_commands::play(const media_list& list) {
    if (list.count() == 0) {
        show_message(nothing_in_playlist_message);
        return;
    }
    play_paths(all_full_paths(list));
}

void playback_commands::play_selected(const media_list& list, std::span<const int> selected, bool quiet) {
    const string_list paths = selected_full_paths(list, selected);
    if (paths.empty()) {
        if (!quiet)
            show_message(nothing_selected_message);
        return;
    }
    play_paths(paths);
}

void playback_commands::play_folder_selection(const my_computer_list& listing, std::span<const int> selected) {
    play_paths(paths_of_rows(listing, selected));
}

void playback_commands::play_joined_playlists(named_file_store& store, platform::random_source* random) {
    // A stale list must not be played if the new one cannot be written.
    platform::delete_file(temp_list_path());
    string_list joined;
    for (const std::string& name : store.names()) {
        const string_list& lines = store.load(name);
        joined.insert(joined.end(), lines.begin(), lines.end());
    }
    if (random != nullptr)
        joined = shuffle_into_slots(joined, *random);
    play_paths(full_paths_of(joined));
}

void playback_commands::play_all_playlists(named_file_store& store) {
    play_joined_playlists(store, nullptr);
}

void playback_commands::play_all_playlists_randomized(named_file_store& store, platform::random_source& random) {
    play_joined_playlists(store, &random);
}

void playback_commands::stop() {
    const std::string& name = services_.selection.name();
    if (name == sonique_player_name) {
        start(services_.selection.program(), "-stop");
    } else if (name == winamp_player_name) {
        services_.winamp.find_window();
        services_.winamp.stop();
    } else if (name == nad_player_name) {
        services_.nad.find_window();
        services_.nad.stop();
    } else if (is_mpd(services_.selection.program())) {
        services_.mpd->stop();
    } else if (linux_player_class* driver = bus_driver(name, services_.selection.program())) {
        // The player keeps running with its list; with none running there is nothing to stop.
        settled(driver->stop(), name);
    } else {
        play_paths({});
    }
}

bool playback_commands::window_exists(const char* window_class) {
    return services_.windows.find_window(window_class) != 0;
}

playback_commands::enqueue_target playback_commands::running_selected_player() {
    const std::string& name = services_.selection.name();
    if (name == winamp_player_name && services_.winamp.find_window() != 0)
        return enqueue_target::winamp;
    if (name == sonique_player_name && window_exists(sonique_class::window_class) &&
        services_.selection.program_exists(sonique_slot))
        return enqueue_target::sonique;
    if (name == nad_player_name && services_.nad.find_window() != 0)
        return enqueue_target::nad;
    return enqueue_target::none;
}

void playback_commands::enqueue(enqueue_target target, const string_list& paths) {
    switch (target) {
        case enqueue_target::winamp:
            for (const std::string& path : paths)
                services_.winamp.enqueue_file(path);
            break;
        case enqueue_target::sonique:
            services_.sonique.set_program_path(services_.selection.location(sonique_slot));
            for (const std::string& path : paths)
                services_.sonique.enqueue_file(path);
            break;
        case enqueue_target::nad:
            for (const std::string& path : paths)
                services_.nad.enqueue_file(path);
            break;
        case enqueue_target::none: break;
    }
}

void playback_commands::enqueue_selected(const media_list& list, std::span<const int> selected) {
    const enqueue_target target = running_selected_player();
    if (target == enqueue_target::none) {
        if (!enqueue_other(selected_full_paths(list, selected)))
            show_message(enqueue_unavailable_message);
        return;
    }
    enqueue(target, selected_full_paths(list, selected));
}

void playback_commands::enqueue_playlist(const media_list& list) {
    const enqueue_target target = running_selected_player();
    if (target == enqueue_target::none) {
        if (!enqueue_other(all_full_paths(list)))
            show(enqueue_playlist_unavailable_text);
        return;
    }
    enqueue(target, all_full_paths(list));
}

double_click_follow_up playback_commands::double_click(const media_list& list, std::span<const int> selected,
                                                       int focused, int setting) {
    if (list.count() == 0 || selected.empty())
        return double_click_follow_up::none;
    switch (setting) {
        case 0: {
            if (focused < 0 || focused >= list.count())
                return double_click_follow_up::none;
            const std::string& name = services_.selection.name();
            const string_list path = {std::string(list.full_path(focused))};
            if (name == winamp_player_name) {
                if (services_.winamp.find_window() == 0)
                    stop();
                enqueue(enqueue_target::winamp, path);
            } else if (name == nad_player_name) {
                if (services_.nad.find_window() == 0)
                    stop();
                enqueue(enqueue_target::nad, path);
            } else if (is_mpd(services_.selection.program())) {
                send_to_mpd(path, false);
            } else if (linux_player_class* driver = bus_driver(name, services_.selection.program())) {
                // A player that is not running is started with the entry instead.
                const command_outcome outcome = driver->enqueue(path);
                if (outcome == command_outcome::not_running)
                    play_paths(path);
                else
                    settled(outcome, name);
            }
            return double_click_follow_up::none;
        }
        case 1: play_selected(list, selected, true); return double_click_follow_up::none;
        case 2: return double_click_follow_up::delete_selected;
        case 3: return double_click_follow_up::select_all;
        default: return double_click_follow_up::none;
    }
}

void playback_commands::drop_files_on_slot(int slot, const string_list& names,
                                           const std::function<bool(const std::string&)>& is_media_file) {
    if (slot < 0 || slot >= player_slot_count)
        return;
    string_list media;
    for (const std::string& name : names)
        if (is_media_file(name))
            media.push_back(name);
    write_and_start(media, services_.selection.location(slot));
}

popup_placement playback_commands::drag_over_slot(int slot, int panel_left, int label_top) {
    if (!services_.selection.slot_accepts_drops(slot))
        return {};
    const std::string caption = services_.selection.slot_caption(slot);
    const bool remote = (caption == winamp_player_name && window_exists(winamp_class::window_class)) ||
                        (caption == sonique_player_name && window_exists(sonique_class::window_class));
    if (remote)
        return {player_popup::two_part, panel_left + two_part_offset, label_top, two_part_width, popup_height, slot};
    return {player_popup::play_only, panel_left + play_only_offset, label_top, play_only_width, popup_height, slot};
}

void playback_commands::drop_on_slot(int player_index, const media_list& list, std::span<const int> selected) {
    write_and_start(selected_full_paths(list, selected), services_.selection.location(player_index));
}

void playback_commands::drop_on_two_part_popup(int tag, int x, const media_list& list, std::span<const int> selected) {
    const string_list paths = selected_full_paths(list, selected);
    if (x >= two_part_play_left) {
        write_and_start(paths, services_.selection.location(tag));
        return;
    }
    write_temp_playlist(services_.data_folder, paths);
    if (x < 0)
        return;
    if (tag == winamp_tag) {
        enqueue(enqueue_target::winamp, paths);
    } else if (tag == sonique_slot) {
        enqueue(enqueue_target::sonique, paths);
    } else if (tag == nad_tag) {
        // The NAD driver sends to the handle it holds, so it is looked up first.
        services_.nad.find_window();
        enqueue(enqueue_target::nad, paths);
    }
}

remote_markers playback_commands::remote_control_tick(bool enhanced, int label0_top, int label1_top) {
    const auto marker = [&](const char* window_class, int label_top) {
        if (window_exists(window_class) && enhanced)
            return remote_marker{true, label_top, 9, 12};
        return remote_marker{false, label_top + 3, 7, 7};
    };
    return {marker(winamp_class::window_class, label0_top), marker(sonique_class::window_class, label1_top)};
}

std::optional<control_panel_opening> playback_commands::remote_control_hover(int marker, bool enhanced, int cursor_x,
                                                                             int cursor_y, int panel_width,
                                                                             int panel_height) {
    if (!enhanced || (marker != 0 && marker != 1))
        return std::nullopt;
    const bool sonique = marker == 1;
    if (!window_exists(sonique ? sonique_class::window_class : winamp_class::window_class))
        return std::nullopt;
    control_panel_opening opening{cursor_x - panel_width / 2, cursor_y - panel_height / 2, sonique ? 2 : 0, {}};
    if (sonique)
        opening.sonique_location = services_.selection.location(sonique_slot);
    return opening;
}

void playback_commands::enqueue_quietly(const string_list& paths) {
    const std::string& name = services_.selection.name();
    if (is_mpd(services_.selection.program()))
        send_to_mpd(paths, false);
    else if (linux_player_class* driver = bus_driver(name, services_.selection.program()))
        settled(driver->enqueue(paths), name);
}

bool playback_commands::mpd_selected() const {
    return is_mpd(services_.selection.program());
}

remote_marker playback_commands::bus_player_marker(int player_index, int label_top) {
    const std::string& name = entry_or_empty(services_.selection.lists.names, player_index);
    if (is_mpd(services_.selection.location(player_index)))
        return services_.mpd->last_status().connected ? remote_marker{true, label_top, 9, 12}
                                                      : remote_marker{false, label_top + 3, 7, 7};
    linux_player_class* driver = bus_driver(name, services_.selection.location(player_index));
    if (name.empty() || driver == nullptr || driver->instances().empty())
        return remote_marker{false, label_top + 3, 7, 7};
    return remote_marker{true, label_top, 9, 12};
}

std::optional<control_panel_opening> playback_commands::bus_player_hover(int player_index, int cursor_x, int cursor_y,
                                                                         int panel_width, int panel_height) {
    const std::string& name = entry_or_empty(services_.selection.lists.names, player_index);
    const std::string& program = services_.selection.location(player_index);
    if (is_mpd(program)) {
        if (name.empty() || !services_.mpd->last_status().connected)
            return std::nullopt;
        return control_panel_opening{
            cursor_x - panel_width / 2, cursor_y - panel_height / 2, mpd_player_kind, {}, program};
    }
    linux_player_class* driver = bus_driver(name, program);
    if (name.empty() || driver == nullptr || driver->instances().empty())
        return std::nullopt;
    return control_panel_opening{cursor_x - panel_width / 2, cursor_y - panel_height / 2, bus_player_kind, {}, program};
}

bool playback_commands::is_selected_instance(const std::string& bus_name) {
    linux_player_class* driver = bus_driver(services_.selection.name(), services_.selection.program());
    return driver != nullptr && driver->is_running_instance(bus_name);
}

std::string playback_commands::now_playing_path() {
    if (mpd_selected())
        return local_path_of(services_.mpd->settings(), services_.mpd->last_status().song_uri);
    linux_player_class* driver = bus_driver(services_.selection.name(), services_.selection.program());
    return driver == nullptr || services_.selection.program().empty() ? std::string() : driver->playing_path();
}

} // namespace karvo
