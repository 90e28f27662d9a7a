// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/recovery_copy.h"

#include <charconv>

#include "library/media_entry.h"
#include "platform/file_system.h"

namespace karvo {

namespace {

constexpr std::string_view magic = "#KARVO-UNSAVED-PLAYLIST 1";
constexpr std::string_view end_mark = "#END";

// One line, up to its LF (a CR before it dropped); false at the end of the text.
bool next_line(std::string_view& text, std::string_view& line) {
    if (text.empty())
        return false;
    const std::size_t end = text.find('\n');
    line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return true;
}

} // namespace

bool write_recovery_copy(const std::string& path, const shell_state& state, const media_list& list) {
    std::string text;
    text.reserve(static_cast<std::size_t>(list.count()) * 160 + 128);
    text += magic;
    text.append(1, '\n').append(std::to_string(state.mode.value())).append(1, '\n');
    text.append(state.current_playlist_name).append(1, '\n').append(state.current_media_cd_name).append(1, '\n');
    text.append(std::to_string(list.count())).append(1, '\n');
    const string_list lines = list.serialise_all();
    for (int row = 0; row < list.count(); ++row) {
        // 0xFF never occurs in UTF-8 text: it ends the list name as it ends every field of the entry.
        text += list.cell(ListName, row);
        text += info_separator;
        text += lines[static_cast<std::size_t>(row)];
        text += '\n';
    }
    text += end_mark;
    text += '\n';
    return platform::write_file_atomic(path, text);
}

std::optional<recovery_copy> read_recovery_copy(const std::string& path) {
    const std::optional<std::string> content = platform::read_file(path);
    if (!content)
        return std::nullopt;
    std::string_view text = *content;
    std::string_view line;
    if (!next_line(text, line) || line != magic)
        return std::nullopt;
    recovery_copy copy;
    std::string_view mode, rows;
    std::string_view playlist, media_cd;
    if (!next_line(text, mode) || !next_line(text, playlist) || !next_line(text, media_cd) || !next_line(text, rows))
        return std::nullopt;
    int count = 0;
    if (std::from_chars(mode.data(), mode.data() + mode.size(), copy.mode).ec != std::errc{} ||
        std::from_chars(rows.data(), rows.data() + rows.size(), count).ec != std::errc{} || count < 0)
        return std::nullopt;
    copy.playlist_name = playlist;
    copy.media_cd_name = media_cd;
    for (int row = 0; row < count; ++row) {
        if (!next_line(text, line))
            return std::nullopt;
        const std::size_t name_end = line.find(info_separator);
        if (name_end == std::string_view::npos)
            return std::nullopt;
        copy.rows.append(line.substr(name_end + 1), std::string(line.substr(0, name_end)));
    }
    if (!next_line(text, line) || line != end_mark)
        return std::nullopt;
    return copy;
}

} // namespace karvo
