// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop_shortcut.h"

#include "platform/file_system.h"
#include "platform/program_starter.h"
#include "platform/utf8.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace karvo::platform {

namespace {

std::string environment_or(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    // The XDG rules ignore a relative folder.
    return value != nullptr && value[0] == '/' ? std::string(value) : fallback;
}

std::string without_trailing_slashes(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// XDG_DESKTOP_DIR="$HOME/Desktop" as xdg-user-dirs writes it: "$HOME/..." or an absolute path, in quotes, with
// backslash escapes. nullopt when the line is missing or in another form.
std::optional<std::string> user_dirs_desktop(const user_folders& folders) {
    const auto content = read_file(folders.config_home + "/user-dirs.dirs");
    if (!content)
        return std::nullopt;
    std::optional<std::string> found;
    std::size_t start = 0;
    while (start < content->size()) {
        std::size_t end = content->find('\n', start);
        if (end == std::string::npos)
            end = content->size();
        std::string_view line(content->data() + start, end - start);
        start = end + 1;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        constexpr std::string_view key = "XDG_DESKTOP_DIR=\"";
        if (line.substr(0, key.size()) != key)
            continue;
        line.remove_prefix(key.size());
        std::string value;
        bool closed = false;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\\' && i + 1 < line.size()) {
                value += line[++i];
            } else if (line[i] == '"') {
                closed = true;
                break;
            } else {
                value += line[i];
            }
        }
        if (!closed)
            continue;
        if (value == "$HOME" || value.rfind("$HOME/", 0) == 0)
            found = folders.home + value.substr(5);
        else if (!value.empty() && value[0] == '/')
            found = value;
    }
    return found;
}

bool writable_in_entry(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        char32_t code = 0;
        const std::size_t length = decode_utf8(text, i, code);
        if (length == 0 || code < 0x20 || code == 0x7F)
            return false;
        i += length;
    }
    return true;
}

// The string escapes of a desktop entry value; applied after the Exec quoting, so a backslash of the quoting is
// doubled again.
std::string escaped_value(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

// One Exec argument, always quoted: inside the quotes '"', '`', '$' and '\' take a backslash, and '%' is doubled
// so it is never read as a field code.
std::string quoted_argument(std::string_view argument) {
    std::string out = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            out += '\\';
        if (c == '%')
            out += '%';
        out += c;
    }
    return out + "\"";
}

// Runs `gio set <file> metadata::trusted true`, silently, for at most a few seconds.
void mark_trusted_with_gio(const std::string& file) {
    const std::string gio = find_in_path("gio");
    if (gio.empty())
        return;
    const pid_t child = ::fork();
    if (child < 0)
        return;
    if (child == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, 0);
            ::dup2(null, 1);
            ::dup2(null, 2);
        }
        const char* arguments[] = {gio.c_str(), "set", file.c_str(), "metadata::trusted", "true", nullptr};
        ::execv(gio.c_str(), const_cast<char* const*>(arguments));
        ::_exit(127);
    }
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + seconds(3);
    while (::waitpid(child, nullptr, WNOHANG) == 0) {
        if (steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            return;
        }
        std::this_thread::sleep_for(milliseconds(20));
    }
}

} // namespace

user_folders user_folders_from_environment() {
    user_folders folders;
    folders.home = without_trailing_slashes(environment_or("HOME", "/"));
    folders.config_home = without_trailing_slashes(environment_or("XDG_CONFIG_HOME", folders.home + "/.config"));
    folders.data_home = without_trailing_slashes(environment_or("XDG_DATA_HOME", folders.home + "/.local/share"));
    return folders;
}

std::string desktop_folder(const user_folders& folders) {
    const std::string desktop =
        without_trailing_slashes(user_dirs_desktop(folders).value_or(folders.home + "/Desktop"));
    if (desktop == without_trailing_slashes(folders.home) || !directory_exists(desktop))
        return {};
    return desktop;
}

std::string applications_folder(const user_folders& folders) {
    return folders.data_home + "/applications";
}

std::optional<std::string> desktop_entry_text(std::string_view program, std::string_view icon) {
    if (program.empty() || !writable_in_entry(program) || !writable_in_entry(icon))
        return std::nullopt;
    std::string text = "[Desktop Entry]\n"
                       "Type=Application\n"
                       "Version=1.4\n"
                       "Name=Karvo Media\n"
                       "GenericName=Music Library\n"
                       "Comment=Karvo\n";
    // %F: files opened with the program (playlists, folders) arrive as its arguments.
    text += "Exec=" + escaped_value(quoted_argument(program)) + " %F\n";
    if (!icon.empty())
        text += "Icon=" + escaped_value(icon) + "\n";
    text += "Terminal=false\n"
            "Categories=AudioVideo;Audio;Player;\n"
            "MimeType=" + std::string(playlist_mime_types) + "\n"
            "StartupWMClass=karvo-media\n";
    return text;
}

bool write_desktop_entry(const std::string& file, std::string_view program, std::string_view icon, bool mark_trusted) {
    const auto text = desktop_entry_text(program, icon);
    if (!text || !write_file_atomic(file, *text))
        return false;
    ::chmod(file.c_str(), 0755);
    if (mark_trusted)
        mark_trusted_with_gio(file);
    return true;
}

bool add_desktop_shortcut(const user_folders& folders, std::string_view program, std::string_view icon) {
    const std::string desktop = desktop_folder(folders);
    return !desktop.empty() && write_desktop_entry(desktop + "/" + desktop_shortcut_name, program, icon, true);
}

bool add_menu_shortcut(const user_folders& folders, std::string_view program, std::string_view icon) {
    const std::string folder = applications_folder(folders);
    return create_directories(folder) && write_desktop_entry(folder + "/" + menu_shortcut_name, program, icon, false);
}

} // namespace karvo::platform
