// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/named_file_store.h"

#include <algorithm>

#include "library/media_entry.h"
#include "library/text.h"
#include "platform/case_fold.h"
#include "platform/file_system.h"
#include "platform/file_uri.h"
#include "platform/paths.h"

namespace karvo {

namespace {

constexpr std::string_view uri_mark = "file:";

bool holds_line_break(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// A line break would split the line, and a path starting "file:" would read back as a URI.
bool needs_stored_form(const std::string& line) {
    return holds_line_break(line) || line.compare(0, uri_mark.size(), uri_mark) == 0;
}

// The path (the first field) as a file: URI when it needs one, a relative path as "file:" + its encoded bytes; a
// line break in any other field becomes a blank.
std::string stored_form(const std::string& line) {
    const std::size_t end = std::min(line.find(info_separator), line.size());
    const std::string path = line.substr(0, end);
    std::string out = path;
    if (holds_line_break(path) || path.compare(0, uri_mark.size(), uri_mark) == 0)
        out = !path.empty() && path.front() == '/' ? platform::file_uri(path)
                                                   : std::string(uri_mark) + platform::percent_encode(path);
    std::string rest = line.substr(end);
    std::replace_if(
        rest.begin(), rest.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return out + rest;
}

void read_stored_form(std::string& line) {
    if (line.compare(0, uri_mark.size(), uri_mark) != 0)
        return;
    const std::size_t end = std::min(line.find(info_separator), line.size());
    const std::string_view field = std::string_view(line).substr(0, end);
    const std::string path = field.substr(uri_mark.size(), 2) == "//"
                                 ? platform::path_of_file_uri(std::string(field))
                                 : platform::percent_decode(field.substr(uri_mark.size()));
    if (!path.empty())
        line.replace(0, end, path);
}

} // namespace

named_file_store::named_file_store(const std::string& data_folder, const std::string& folder_name,
                                   std::string extension, std::string failure_text, folder_failure_handler on_failure)
    : folder_(platform::with_trailing_slash(data_folder) + folder_name + "/"), extension_(std::move(extension)),
      failure_text_(std::move(failure_text)), on_failure_(std::move(on_failure)) {
    ensure_folder();
}

bool named_file_store::ensure_folder() {
    // The data folder itself may be new on a first run.
    folder_ok_ = platform::create_directories(folder_);
    if (!folder_ok_ && on_failure_)
        on_failure_(failure_text_, folder_failure_caption);
    return folder_ok_;
}

std::string named_file_store::folder_path() {
    ensure_folder();
    return folder_;
}

bool named_file_store::is_valid_name(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\r\n\0", 4)) == std::string::npos;
}

std::string named_file_store::file_of(const std::string& name) const {
    if (!is_valid_name(name))
        return {};
    std::string exact = folder_ + name + extension_;
    if (platform::path_exists(exact))
        return exact;
    // The listing matches "*.spl" without regard to case, so Rock.SPL is listed as Rock: resolve the name the same
    // way, or a listed item would load empty and a save would leave a second file beside it.
    const std::string wanted = name + extension_;
    for (const auto& entry : platform::find_files(folder_, "*" + extension_))
        if (!(entry.attributes & platform::attr_directory) && platform::equal_ignoring_case(entry.name, wanted))
            return folder_ + entry.name;
    return exact;
}

string_list named_file_store::names() const {
    string_list result;
    for (const auto& entry : platform::find_files(folder_, "*" + extension_)) {
        if (entry.attributes == platform::attr_directory)
            continue;
        std::string name = without_three_letter_extension(entry.name);
        // A file such as "..spl" has no usable name: it could be neither loaded nor saved.
        if (is_valid_name(name))
            result.push_back(std::move(name));
    }
    std::sort(result.begin(), result.end(),
              [](const std::string& a, const std::string& b) { return less_case_insensitive(a, b); });
    return result;
}

int named_file_store::count() const {
    return static_cast<int>(names().size());
}

const string_list& named_file_store::load(const std::string& name) {
    buffer_.clear();
    const std::string file = file_of(name);
    if (!file.empty())
        buffer_ = load_lines(file);
    for (auto& line : buffer_)
        read_stored_form(line);
    return buffer_;
}

void named_file_store::for_each_line(const std::string& name, const std::function<void(std::uint64_t)>& opened,
                                     const std::function<void(std::string_view)>& take) const {
    const std::string file = file_of(name);
    if (!file.empty())
        karvo::for_each_line(file, opened, take);
}

bool named_file_store::save(const std::string& name, const string_list& lines) {
    const std::string file = file_of(name);
    if (file.empty())
        return false;
    if (std::none_of(lines.begin(), lines.end(), needs_stored_form))
        return save_lines(file, lines);
    string_list stored = lines;
    for (auto& line : stored)
        line = stored_form(line);
    return save_lines(file, stored);
}

bool named_file_store::save_text(const std::string& name, std::string_view text) {
    const std::string file = file_of(name);
    return !file.empty() && platform::write_file_atomic(file, text);
}

bool named_file_store::exists(const std::string& name) const {
    const std::string file = file_of(name);
    return !file.empty() && platform::file_exists(file);
}

std::uint64_t named_file_store::size_of(const std::string& name) const {
    const std::string file = file_of(name);
    const auto version = file.empty() ? std::nullopt : platform::file_version_of(file);
    return version ? version->size : 0;
}

bool named_file_store::remove(const std::string& name) {
    const std::string file = file_of(name);
    return !file.empty() && platform::delete_file(file);
}

bool named_file_store::rename(const std::string& old_name, const std::string& new_name) {
    const std::string from = file_of(old_name);
    const std::string to = file_of(new_name);
    // A new name differing only in case names the same item: that rename goes ahead.
    if (from.empty() || to.empty() || (platform::path_exists(to) && to != from))
        return false;
    if (to == from)
        return platform::rename_file(from, folder_ + new_name + extension_);
    return platform::rename_file(from, to);
}

int remove_stale_temporaries_of(const std::string& data_folder) {
    const auto started = platform::process_start_time();
    const std::string base = platform::with_trailing_slash(data_folder);
    int removed = 0;
    for (const char* folder : {"", "Playlists", "Media CDs"})
        removed += platform::remove_stale_temporaries(base + folder, started);
    return removed;
}

} // namespace karvo
