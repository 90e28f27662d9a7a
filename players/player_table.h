// SPDX-License-Identifier: GPL-3.0-or-later
// The table of Linux media players the program knows how to drive: for each program (by the base name of its
// file) the bus names its running instance takes, its desktop entry, and the command-line switches that control
// a running instance. It is a text file shipped beside the program, which a copy in the data folder extends.
#pragma once

#include <string>
#include <vector>

namespace karvo {

inline constexpr const char* player_table_file_name = "players.ini";

// A switch template is a parameter string in which %f stands for one file (the program is run once per file),
// %F for all files at once, %u / %U the same as file:// URIs, each quoted as one argument; %s is a socket path.
struct player_row {
    std::string program;                // base name of the program file, lower case
    std::vector<std::string> bus_names; // suffixes after "org.mpris.MediaPlayer2."
    std::string desktop_entry;
    std::string enqueue;
    std::string play;
    std::string pause;
    std::string stop;
    std::string next;
    std::string previous;
    std::string ipc;     // start switches that open a JSON IPC socket at %s
    std::string replace; // switches that hand a new list (%F, the temporary list) to the running instance
};

struct player_table {
    std::vector<player_row> rows;
    // One line per file with skipped lines, e.g. "players.ini: lines 4, 9 not understood and skipped".
    std::vector<std::string> problems;

    // The row for a program path ("/usr/bin/vlc" -> "vlc"), or nullptr.
    const player_row* find(const std::string& program_path) const;
};

// Lower-cased file name of the path without a ".exe" ending, the key of the table.
std::string program_base_name(const std::string& program_path);

// Reads the file's text into the table: a section names a program and opens its row (or, when the table already
// has it, changes only the keys given). Unknown keys, lines outside a section and other malformed lines are
// skipped and reported under `label`.
void read_player_table(player_table& table, const std::string& text, const std::string& label);

// The shipped table from the program folder, then the user's copy in the data folder (unless it is the same file).
player_table load_player_table(const std::string& program_folder, const std::string& data_folder);

} // namespace karvo
