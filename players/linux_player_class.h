// SPDX-License-Identifier: GPL-3.0-or-later
// Drives every player that is not one of the three named ones: through the session bus when its running instance
// is there, and through the command-line switches of its row in the player table (or the JSON IPC socket of an
// mpv the program started) for what the bus lacks. Callers run set_program_path before each series of commands.
#pragma once

#include <string>
#include <vector>

#include "library/string_list.h"
#include "platform/media_bus.h"

namespace karvo {
namespace platform {
class local_sockets;
class program_starter;
} // namespace platform

struct player_row;
struct player_table;

struct linux_player_services {
    platform::media_bus& bus;
    platform::program_starter& starter;
    platform::local_sockets& sockets;
    const player_table& table;
    std::string ipc_socket_path; // where a player started with its IPC switch listens; empty: never used
};

enum class player_reach { running, not_running, not_answering };

// `unsupported`: the player runs but has no way to take the command.
enum class command_outcome { done, not_running, not_answering, unsupported };

struct found_player {
    player_reach reach = player_reach::not_running;
    std::string bus_name;
    platform::media_player_state state;
};

class linux_player_class {
public:
    explicit linux_player_class(linux_player_services services);

    void set_program_path(const std::string& path);
    const std::string& program_path() const { return program_path_; }
    // The program's row, or nullptr for a program the table does not know.
    const player_row* row() const;

    // The bus names of the program's running instances, the one that commands go to first.
    std::vector<std::string> instances();
    // Whether the bus name belongs to this program (by name; the desktop entry is not read here).
    bool is_instance(const std::string& bus_name) const;
    // The same, counting also an instance known only by its desktop entry (this asks the bus).
    bool is_running_instance(const std::string& bus_name);
    // The instance commands go to, with its state.
    found_player find_player();

    // Stops every instance and keeps it running with its list; `not_running` when there is none.
    command_outcome stop();
    // Hands a new list to the running instance in place of its list: the list file over its IPC socket or the
    // table's replace switch, else the files through its bus track list; `not_running` when no instance can take
    // it that way, so the caller starts the program.
    command_outcome replace_list(const std::string& list_file, const string_list& paths);
    // Appends the files: the bus track list, else the table's enqueue switch, else the IPC socket.
    command_outcome enqueue(const string_list& paths);
    command_outcome play();
    command_outcome pause();
    command_outcome play_pause();
    command_outcome next_track();
    command_outcome previous_track();

    // The parameters that start the program with the quoted temporary list: the IPC switches first when it has them.
    std::string start_parameters(const std::string& quoted_list) const;
    // The local file the running instance plays; "" when none or not a local file.
    std::string playing_path();

private:
    std::vector<std::string> bus_suffixes() const;
    command_outcome transport(platform::media_command command, const std::string player_row::*switch_field);
    bool run_switch(const std::string& parameters, const string_list& paths);
    command_outcome add_tracks(const std::string& bus_name, const string_list& paths);
    // Adds after `after`, in order; the first becomes the current track when `play_first`.
    command_outcome insert_tracks(const std::string& bus_name, const string_list& paths, const std::string& after,
                                  bool play_first);
    command_outcome replace_tracks(const std::string& bus_name, const string_list& paths);
    // The commands over the IPC socket of an instance the program started; `not_running` when none listens.
    command_outcome over_ipc(const std::vector<std::vector<std::string>>& commands);

    linux_player_services services_;
    std::string program_path_;
};

} // namespace karvo
