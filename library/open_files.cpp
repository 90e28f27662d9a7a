// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/open_files.h"

#include <cstdint>
#include <filesystem>

#include "library/media_list.h"
#include "platform/file_system.h"
#include "platform/file_uri.h"
#include "platform/local_sockets.h"
#include "platform/paths.h"

namespace karvo {

namespace {

constexpr std::string_view open_prefix = "OPEN ";
constexpr std::string_view end_line = "END";
constexpr std::size_t longest_hand_over = 16 * 1024 * 1024;

// A short stable tag of the data folder, so that portable copies each keep their own instance.
std::string folder_tag(const std::string& folder) {
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (unsigned char c : folder) {
        hash ^= c;
        hash *= 16777619u;
    }
    static const char digits[] = "0123456789abcdef";
    std::string tag;
    for (int shift = 28; shift >= 0; shift -= 4)
        tag += digits[(hash >> shift) & 0xF];
    return tag;
}

} // namespace

string_list command_line_files(const std::vector<std::string>& arguments, const std::string& cwd) {
    string_list files;
    bool names_only = false;
    for (std::size_t k = 1; k < arguments.size(); ++k) {
        std::string name = arguments[k];
        if (!names_only && name == "--") {
            names_only = true;
            continue;
        }
        if (name.empty() || (!names_only && name.front() == '-'))
            continue;
        if (name.size() > 5 && (name.compare(0, 5, "file:") == 0 || name.compare(0, 5, "FILE:") == 0)) {
            name = platform::path_of_file_uri(name);
            if (name.empty())
                continue;
        }
        if (name.front() != '/')
            name = std::filesystem::path(platform::with_trailing_slash(cwd) + name).lexically_normal().string();
        files.push_back(std::move(name));
    }
    return files;
}

std::string instance_socket_path(const std::string& data_folder) {
    const std::string name = "karvo-media-" + folder_tag(data_folder) + ".sock";
    if (std::string path = platform::runtime_socket_path(name); !path.empty())
        return path;
    // The data folder is the user's own, as the runtime folder would be.
    const std::string path = platform::with_trailing_slash(data_folder) + "instance.sock";
    return path.size() < 108 ? path : std::string();
}

std::string hand_over_text(const string_list& paths) {
    std::string text;
    for (const std::string& path : paths)
        text.append(open_prefix).append(platform::file_uri(path)).append("\n");
    text.append(end_line).append("\n");
    return text;
}

bool hand_over_reader::feed(std::string_view bytes) {
    if (complete_ || broken_)
        return false;
    pending_.append(bytes);
    for (std::size_t end; (end = pending_.find('\n')) != std::string::npos;) {
        std::string_view line(pending_.data(), end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line == end_line) {
            complete_ = true;
            return false;
        }
        std::string path;
        if (line.starts_with(open_prefix))
            path = platform::path_of_file_uri(std::string(line.substr(open_prefix.size())));
        if (path.empty()) {
            broken_ = true;
            return false;
        }
        paths_.push_back(std::move(path));
        pending_.erase(0, end + 1);
    }
    if (pending_.size() > longest_hand_over) {
        broken_ = true;
        return false;
    }
    return true;
}

bool hand_over(platform::local_sockets& sockets, const std::string& socket_path, const string_list& paths) {
    if (socket_path.empty())
        return false;
    const auto connection = sockets.connect(socket_path);
    if (!connection || !connection->write(hand_over_text(paths)))
        return false;
    const auto answer = connection->read_line();
    return answer && *answer == hand_over_answer;
}

open_result open_files(media_list& list, const string_list& paths, const drop_settings& settings,
                       const media_files& media, const drop_info_source& info, platform::random_source& random,
                       const std::function<int(const std::string& folder)>& add_folder) {
    drop_settings at_the_end = settings;
    at_the_end.drag_n_drop = 0;
    at_the_end.drag_n_drop_rnd = false;
    open_result result;
    const int first = list.count();
    string_list files;
    const auto add_files = [&] {
        if (!files.empty())
            result.added += drop_shell_files(list, files, -1, at_the_end, media, info, random).added;
        files.clear();
    };
    for (const std::string& path : paths) {
        if (!platform::directory_exists(path)) {
            files.push_back(path);
            continue;
        }
        add_files();
        if (add_folder) {
            result.added += add_folder(path);
            result.reset = true;
        }
    }
    add_files();
    if (!result.reset && result.added > 0)
        result.inserted = {first, list.count() - 1};
    return result;
}

} // namespace karvo
