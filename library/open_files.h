// SPDX-License-Identifier: GPL-3.0-or-later
// Files and folders given to the program to open: taken from its command line, handed from a second start to the
// running one over a local socket (one instance per data folder), and added to the virtual playlist at its end.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/playlist_drops.h"
#include "library/string_list.h"

namespace karvo {

namespace platform {
class local_sockets;
}

// The files and folders named by the arguments (the program's own name left out), made absolute against `cwd`.
// Arguments that begin with '-' are options and are skipped, up to a "--" after which every argument is a name;
// a file: URI names its local path, and an empty argument nothing.
string_list command_line_files(const std::vector<std::string>& arguments, const std::string& cwd);

// The running instance's socket for the data folder: in the user's runtime folder, or in the data folder itself
// when there is none; "" when no path fits a local socket.
std::string instance_socket_path(const std::string& data_folder);

// What a second start writes: one "OPEN <file URI>" line per path, then "END". The running instance answers
// "OK" once it has taken them.
std::string hand_over_text(const string_list& paths);
inline constexpr std::string_view hand_over_answer = "OK";

// Reads a hand-over as it arrives, in pieces of any size.
class hand_over_reader {
public:
    // False once the text is complete or broken (a line that is none of the above, or too long a text).
    bool feed(std::string_view bytes);
    bool complete() const { return complete_; }
    const string_list& paths() const { return paths_; }

private:
    std::string pending_;
    string_list paths_;
    bool complete_ = false;
    bool broken_ = false;
};

// A second start: hands `paths` to the instance listening at `socket_path`. True when it took them (this start
// then ends); false when none listens or it did not answer.
bool hand_over(platform::local_sockets& sockets, const std::string& socket_path, const string_list& paths);

// Adds the paths at the end of the list in their order: a folder with every media file below it (through
// `add_folder`), files as a shell drop adds them (a playlist file adds what it lists).
struct open_result {
    int added = 0;
    bool reset = false; // folders were scanned or the list was shuffled: the view starts again
    row_range inserted; // otherwise the rows added
};
open_result open_files(media_list& list, const string_list& paths, const drop_settings& settings,
                       const media_files& media, const drop_info_source& info, platform::random_source& random,
                       const std::function<int(const std::string& folder)>& add_folder);

} // namespace karvo
