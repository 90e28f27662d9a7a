// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program and its data live: the program folder is the folder of the executable; data files live in
// $XDG_DATA_HOME/karvo-media/, or beside the program when a `portable` file marks its folder.
#pragma once

#include <string>

namespace karvo::platform {

// Folder of /proc/self/exe with a trailing '/'.
std::string program_folder();

inline constexpr const char* portable_marker = "portable";

// The folder for karvo.ini, Playlists/, Media CDs/ and temp_playlist.m3u, with a trailing '/'. Not created here.
std::string data_folder_for(const std::string& program_folder);

// A socket of this user's in $XDG_RUNTIME_DIR; "" without one, or when the path is too long for a local socket.
std::string runtime_socket_path(const std::string& file_name);

// Appends '/' when the text does not already end in one.
std::string with_trailing_slash(std::string folder);

} // namespace karvo::platform
