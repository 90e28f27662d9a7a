// SPDX-License-Identifier: GPL-3.0-or-later
// The companion's subcommands over the core libraries: media information, folder scans, playlist import and export,
// the stores' listing and tags. Everything it prints goes to the given streams, so tests and the program share it.
#pragma once

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

// Runs one command line (without the program name); returns the exit status.
int run(const std::vector<std::string>& args, const environment& env);

} // namespace karvo::cli
