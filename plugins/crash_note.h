// SPDX-License-Identifier: GPL-3.0-or-later
// When the resource plug-in crashes while it reads a file, the program cannot go on, but it need not end without a
// word: the fatal signal handler writes the file's path to a note (and to standard error), and the next start
// tells the user which file it was.
#pragma once

#include <optional>
#include <string>

namespace karvo {

// Installs the handler for SIGSEGV, SIGBUS, SIGILL, SIGFPE and SIGABRT; the note goes to `note_path`.
void install_plugin_crash_note(const std::string& note_path);

// Marks the calling thread as reading `path` inside the plug-in until the guard ends.
class plugin_read_mark {
public:
    explicit plugin_read_mark(const std::string& path);
    ~plugin_read_mark();
    plugin_read_mark(const plugin_read_mark&) = delete;
    plugin_read_mark& operator=(const plugin_read_mark&) = delete;
};

// The path a previous run crashed on, once; the note is removed.
std::optional<std::string> take_plugin_crash_note(const std::string& note_path);
std::string plugin_crash_message(const std::string& path);

} // namespace karvo
