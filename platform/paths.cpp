// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/paths.h"

#include "platform/file_system.h"

#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <sys/un.h>
#include <unistd.h>

namespace karvo::platform {

namespace {

std::string home_folder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/')
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return "/tmp";
}

} // namespace

std::string program_folder() {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return "./";
    return folder_of(std::string(buffer, static_cast<std::size_t>(length)));
}

std::string data_folder_for(const std::string& program_folder) {
    // Portable only on request: a build tree is writable too, and deleting it must not take the playlists along.
    if (!program_folder.empty() && ::access((with_trailing_slash(program_folder) + portable_marker).c_str(), F_OK) == 0)
        return with_trailing_slash(program_folder);
    // The XDG rules ignore a relative XDG_DATA_HOME.
    const char* data_home = std::getenv("XDG_DATA_HOME");
    const std::string base = (data_home != nullptr && data_home[0] == '/')
                                 ? std::string(data_home)
                                 : with_trailing_slash(home_folder()) + ".local/share";
    return with_trailing_slash(base) + "karvo-media/";
}

std::string runtime_socket_path(const std::string& file_name) {
    // Nowhere else is private to the user: a shared /tmp would let others listen in its place.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || runtime[0] != '/')
        return {};
    const std::string path = with_trailing_slash(runtime) + file_name;
    constexpr std::size_t sun_path_size = sizeof(sockaddr_un::sun_path);
    return path.size() < sun_path_size ? path : std::string();
}

std::string with_trailing_slash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

} // namespace karvo::platform
