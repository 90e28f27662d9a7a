// SPDX-License-Identifier: GPL-3.0-or-later
// karvo-media-cli: the command-line companion, on the program's own data folder.
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/cli_commands.h"
#include "platform/paths.h"

int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::string program_folder = karvo::platform::program_folder();
    const karvo::cli::environment env{program_folder, karvo::platform::data_folder_for(program_folder), std::cout,
                                      std::cerr, ::isatty(STDERR_FILENO) == 1};
    return karvo::cli::run(args, env);
}
