// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/named_file_store.h"

#include <algorithm>

#include "library/text.h"
#include "platform/case_fold.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace karvo {

named_file_store::named_file_store(const std::string& data_folder, const std::string& folder_name,
                                   std::string extension, std::string failure_text, folder_failure_handler on_failure)
    : folder_(platform::with_trailing_slash(data_folder) + folder_name + "/"), extension_(std::move(extension)),
      failure_text_(std::move(failure_text)), on_failure_(std::move(on_failure)) {
    ensure_folder();
}

bool named_file_store::ensure_folder() {
    if (!platform::directory_exists(folder_)) {
        // The data folder itself may be new on a first run.
        const std::string parent = folder_.substr(0, folder_.find_last_of('/', folder_.size() - 2) + 1);
        if (!parent.empty() && !platform::directory_exists(parent))
            platform::create_directory(parent);
        platform::create_directory(folder_);
    }
    folder_ok_ = platform::directory_exists(folder_);
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
    return buffer_;
}

bool named_file_store::save(const std::string& name, const string_list& lines) {
    const std::string file = file_of(name);
    if (file.empty())
        return false;
    // A line break inside a line would split the entry into two broken ones on the next load.
    if (std::any_of(lines.begin(), lines.end(),
                    [](const std::string& line) { return line.find_first_of("\r\n") != std::string::npos; })) {
        string_list clean = lines;
        for (auto& line : clean)
            std::replace_if(
                line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        return save_lines(file, clean);
    }
    return save_lines(file, lines);
}

bool named_file_store::exists(const std::string& name) const {
    const std::string file = file_of(name);
    return !file.empty() && platform::file_exists(file);
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
