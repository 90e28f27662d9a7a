// SPDX-License-Identifier: GPL-3.0-or-later
// The companion's subcommands over the core libraries: media information, folder scans, playlist import and export,
// the stores' listing and tags. Everything it prints goes to the given streams, so tests and the program share it.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace karvo::cli {

struct environment {
    std::string program_folder; // where plugins/ is
    std::string data_folder;    // default data folder; --data-folder overrides it
    std::ostream& out;
    std::ostream& err;
    bool err_is_terminal = false; // progress lines only then
};

// Changes the ID3v1 fields named in `fields` ("title", "artist", ...) of a file; the error text, or empty when it
// worked. The tag classes plug in here.
using tag_writer =
    std::function<std::string(const std::string& file, const std::vector<std::pair<std::string, std::string>>& fields)>;
tag_writer default_tag_writer();

// Runs one command line (without the program name); returns the exit status.
int run(const std::vector<std::string>& args, const environment& env,
        const tag_writer& write_tag = default_tag_writer());

} // namespace karvo::cli
