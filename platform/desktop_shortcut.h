// SPDX-License-Identifier: GPL-3.0-or-later
// Shortcuts to the program as freedesktop desktop entries: one on the user's desktop, one in the user's
// applications folder (where the desktop's menus and launchers find programs). Failures are silent: a shortcut
// that cannot be made is simply not made.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace karvo::platform {

// The user's folders as the XDG rules give them; the folders come from the environment when not filled in.
struct user_folders {
    std::string home;
    std::string config_home; // $XDG_CONFIG_HOME, default home + "/.config"
    std::string data_home;   // $XDG_DATA_HOME, default home + "/.local/share"
};
user_folders user_folders_from_environment();

// XDG_DESKTOP_DIR of user-dirs.dirs, home + "/Desktop" without one; "" when the desktop is switched off (it names
// the home folder) or the folder does not exist.
std::string desktop_folder(const user_folders& folders);
std::string applications_folder(const user_folders& folders); // data_home + "/applications"

inline constexpr const char* desktop_shortcut_name = "Karvo Media.desktop";
inline constexpr const char* menu_shortcut_name = "karvo-media.desktop";
// The playlist files (M3U, PLS, XSPF) the program opens, as a desktop entry lists them.
inline constexpr const char* playlist_mime_types =
    "audio/x-mpegurl;audio/mpegurl;application/vnd.apple.mpegurl;audio/x-scpls;application/xspf+xml;";

// The entry that starts `program`: its Exec quoted as the Desktop Entry rules require (blanks, quotes, '%', '$'
// and backslashes in the path all survive), an icon (a theme name or an absolute file), the categories and the
// playlist types. nullopt when a path cannot be written in an entry (not UTF-8, or a control character).
std::optional<std::string> desktop_entry_text(std::string_view program, std::string_view icon);

// Writes the entry to `file` atomically (an existing one is replaced) and makes it executable, as desktops want
// of a launcher they are to trust. With `mark_trusted`, `gio` marks it trusted when it is installed.
bool write_desktop_entry(const std::string& file, std::string_view program, std::string_view icon, bool mark_trusted);

// "Add Desktop Icon": nothing happens without a desktop folder. "Add QuickLaunch Icon": the applications folder
// is created when missing.
bool add_desktop_shortcut(const user_folders& folders, std::string_view program, std::string_view icon);
bool add_menu_shortcut(const user_folders& folders, std::string_view program, std::string_view icon);

} // namespace karvo::platform
