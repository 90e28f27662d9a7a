// SPDX-License-Identifier: GPL-3.0-or-later
// Starting another program or opening a document, the "open" verb of the desktop shell.
#pragma once

#include <string>
#include <vector>

namespace karvo::platform {

// The values are the Windows show codes; `show` (5) is what the player commands ask for.
enum class show_mode { hide = 0, normal = 1, minimized = 2, maximized = 3, show = 5 };

class program_starter {
public:
    virtual ~program_starter() = default;
    // Starts `file` detached with the parameter string split as Windows does (blanks separate, double quotes
    // group). A file that is not executable is opened with xdg-open. Returns false when nothing could be started;
    // callers ignore it, as failures are silent.
    virtual bool open(const std::string& file, const std::string& parameters, const std::string& directory,
                      show_mode mode) = 0;
};

// A name without '/' looked up in PATH, as the shell would; empty when not found.
std::string find_in_path(const std::string& name);

// Splits a parameter string into arguments with the Windows rules.
std::vector<std::string> split_command_line(const std::string& parameters);

program_starter& system_program_starter();

} // namespace karvo::platform
