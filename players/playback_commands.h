// SPDX-License-Identifier: GPL-3.0-or-later
// The play, stop and enqueue commands of the main window and the players panel's drag-and-drop and remote-control
// markers. A command writes the temporary list and starts a player's program with it, or talks to a running
// player through its driver; the window only reads its widgets, calls one operation and shows the result.
#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>

#include "library/string_list.h"
#include "players/linux_player_class.h"

namespace karvo {
namespace platform {
class program_starter;
class prompts;
class random_source;
class window_messages;
} // namespace platform

class media_list;
class mpd_player;
class my_computer_list;
class named_file_store;
class nad_class;
class player_selection;
class sonique_class;
class winamp_class;

inline constexpr const char* enqueue_playlist_unavailable_text =
    "This feature only works when WinAMP, Sonique or NAD is running and is selected.";

// Messages of the main-window table after the original 61; %1, %2 stand for the values given.
inline constexpr int player_not_reachable_message = 61;  // %1 the player: Enqueue with a player that cannot take it
inline constexpr int temp_list_not_written_message = 62; // %1 the temporary list
inline constexpr int player_failed_message = 63;         // %1 the player, %2 what went wrong
inline constexpr int outside_music_folder_message = 64;  // %1 how many, %2 the player
inline constexpr int not_taken_message = 65;             // %1 how many, %2 the player
inline constexpr int player_message_count = 66;

// The text with %1, %2, ... replaced by the values in order.
std::string message_with(std::string text, std::initializer_list<std::string> values);

// The names as report lines: the first `max_listed`, then "... and N more".
std::string listed(const string_list& names, std::size_t max_listed = 20);

// Status line text when a player on the session bus keeps a command waiting past the time-out.
std::string did_not_answer_text(const std::string& player_name);

// What the playlist view still has to do after a double click (the edit commands live with the view).
enum class double_click_follow_up { none, delete_selected, select_all };

enum class player_popup { refused, play_only, two_part };
// The two-part popup enqueues left of this x and plays from it on; the popup paints its halves at the same place.
inline constexpr int two_part_play_left = 96;

// Where a popup goes when playlist entries are dragged over a slot label.
struct popup_placement {
    player_popup kind = player_popup::refused;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int tag = -1; // the slot's player index
};

// One remote-control marker (RCImage0 over lblPlayer0, RCImage1 over lblPlayer1).
struct remote_marker {
    bool remote_picture = false; // the remote control (9 x 12) instead of the blue arrow (7 x 7)
    int top = 0;                 // the label's top, or 3 pixels lower for the arrow
    int width = 7;
    int height = 7;
};

struct remote_markers {
    remote_marker winamp;  // RCImage0
    remote_marker sonique; // RCImage1
};

// The player control panel to open when the mouse passes over a marker.
struct control_panel_opening {
    int left = 0;
    int top = 0;
    int player_kind = 0;          // 0 Winamp, 2 Sonique, 3 a player on the session bus
    std::string sonique_location; // handed to the panel for Sonique only
    std::string program = {};     // kind 3: the player's program, for linux_player_class::set_program_path
};

inline constexpr int bus_player_kind = 3;
inline constexpr int mpd_player_kind = 4;

struct playback_services {
    player_selection& selection;
    platform::program_starter& starter;
    platform::window_messages& windows;
    winamp_class& winamp;
    nad_class& nad;
    sonique_class& sonique;
    platform::prompts& prompts;
    std::span<const std::string> messages; // the main-window message table
    std::string data_folder;               // where temp_playlist.m3u is written
    // Drives every other player when given; without it they get only the list-file commands.
    linux_player_class* linux_players = nullptr;
    std::function<void(const std::string&)> status = {}; // a message on the status line
    // The music daemon, for the player whose location is the daemon's marker; commands to it never wait.
    mpd_player* mpd = nullptr;
};

class playback_commands {
public:
    explicit playback_commands(playback_services services);

    // The temporary list handed to the players: data folder + "temp_playlist.m3u".
    std::string temp_list_path() const;

    // Play: the whole virtual playlist; message 50 when it is empty.
    void play(const media_list& list);
    // Play Selected: the selected rows in list order; message 60 when nothing is selected (unless `quiet`).
    void play_selected(const media_list& list, std::span<const int> selected, bool quiet = false);
    // Play Selected of the folder listing: even an empty selection starts the player with an empty list.
    void play_folder_selection(const my_computer_list& listing, std::span<const int> selected);
    // Writes the paths as the temporary list and starts the selected player with it.
    void play_paths(const string_list& paths);
    // Play All Playlists, plain or shuffled into random slots.
    void play_all_playlists(named_file_store& store);
    void play_all_playlists_randomized(named_file_store& store, platform::random_source& random);
    // Stop, by the selected player's name.
    void stop();

    // Enqueue in a running, selected WinAMP, Sonique or NAD; otherwise message 59, or the fixed text for the
    // whole playlist.
    void enqueue_selected(const media_list& list, std::span<const int> selected);
    void enqueue_playlist(const media_list& list);

    // Double click in the virtual playlist with the `Double_Click` setting.
    double_click_follow_up double_click(const media_list& list, std::span<const int> selected, int focused,
                                        int setting);

    // Files from a file manager dropped on slot label 0-5: the media files among them go to that slot's program.
    void drop_files_on_slot(int slot, const string_list& names,
                            const std::function<bool(const std::string&)>& is_media_file);
    // Playlist entries dragged over slot label 0-5 of a players panel at `panel_left`.
    popup_placement drag_over_slot(int slot, int panel_left, int label_top);
    // Playlist entries dropped on a slot label or on the play-only popup with that player index.
    void drop_on_slot(int player_index, const media_list& list, std::span<const int> selected);
    // Dropped on the two-part popup at x: the right part plays, the left part enqueues by the popup's tag.
    void drop_on_two_part_popup(int tag, int x, const media_list& list, std::span<const int> selected);

    // One tick of RemoteControlTimer: the markers' pictures and tops for labels at these tops.
    remote_markers remote_control_tick(bool enhanced, int label0_top, int label1_top);
    // The mouse over marker 0 (Winamp) or 1 (Sonique) at the cursor; the panel opens centred on it.
    std::optional<control_panel_opening> remote_control_hover(int marker, bool enhanced, int cursor_x, int cursor_y,
                                                              int panel_width, int panel_height);
    // The same for the label of any other player (a slot label's index, or the extra player shown on lblPlayer6):
    // the marker shows while its player is on the session bus, and passing over it opens the panel in kind 3.
    remote_marker bus_player_marker(int player_index, int label_top);
    std::optional<control_panel_opening> bus_player_hover(int player_index, int cursor_x, int cursor_y, int panel_width,
                                                          int panel_height);

    // The auto playlister's enqueue: into the selected player when it is neither WinAMP, Sonique nor NAD; a player
    // that is not running is not told.
    void enqueue_quietly(const string_list& paths);
    // Whether the selected player is the music daemon.
    bool mpd_selected() const;

    // Now playing: whether a bus name belongs to the selected player (when it is driven over the bus), and the local
    // file its running instance plays ("" when none).
    bool is_selected_instance(const std::string& bus_name);
    std::string now_playing_path();

private:
    enum class enqueue_target { none, winamp, sonique, nad };

    enqueue_target running_selected_player();
    // The driver of the player at that index, set to its program, when it is not one of the named three.
    linux_player_class* bus_driver(const std::string& name, const std::string& program);
    // Reports a player that did not answer; true when the outcome needs nothing more from the caller.
    bool settled(command_outcome outcome, const std::string& name);
    // Enqueue in the selected player when it is not one of the named three; false when there is no driver for it.
    bool enqueue_other(const string_list& paths);
    // The paths as the daemon names them, the ones it cannot reach reported; a new list or added to its list.
    void send_to_mpd(const string_list& paths, bool replace);
    bool is_mpd(const std::string& program) const;
    // The name of the player whose program this is, for messages.
    std::string name_of(const std::string& program) const;
    void enqueue(enqueue_target target, const string_list& paths);
    void write_and_start(const string_list& paths, const std::string& program);
    void start(const std::string& program, const std::string& parameters);
    std::string quoted_temp_list() const;
    void show(const std::string& text);
    void show_message(int index);
    bool window_exists(const char* window_class);
    void play_joined_playlists(named_file_store& store, platform::random_source* random);

    playback_services services_;
};

// The lines in random order: each goes, in turn, to a slot drawn as (rand mod count) + 1 and redrawn while
// taken; the slots in order are the result.
string_list shuffle_into_slots(const string_list& lines, platform::random_source& random);

// The text in double quotes, so that the program receives it as one argument whatever it holds.
std::string quote_argument(const std::string& text);

// The full paths of the given rows in list order; rows out of range are left out.
string_list selected_full_paths(const media_list& list, std::span<const int> selected);

} // namespace karvo
