// SPDX-License-Identifier: GPL-3.0-or-later
// One text file per named item in one data sub-folder ("Playlists/" holding .spl files, "Media CDs/" holding .vmc
// files): listing, loading into a reused buffer, atomic saving, existence, delete and rename. The two stores build
// on it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "library/string_list.h"

namespace karvo {

// Told when the store's folder is missing and cannot be created; the main window shows the text with the caption
// in a message box and ends the program.
using folder_failure_handler = std::function<void(const std::string& text, const std::string& caption)>;

inline constexpr const char* folder_failure_caption = "Karvo";

class named_file_store {
public:
    // `data_folder` with or without trailing '/'; `folder_name` is the sub-folder, `extension` includes the dot.
    named_file_store(const std::string& data_folder, const std::string& folder_name, std::string extension,
                     std::string failure_text, folder_failure_handler on_failure);

    // The folder with trailing '/', created when missing (a failure is reported to the handler again).
    std::string folder_path();
    // The folder with trailing '/' as fixed at construction.
    const std::string& folder() const { return folder_; }
    // Whether the folder existed or could be created the last time it was asked for.
    bool folder_ok() const { return folder_ok_; }

    // Item names without extension, sorted case-insensitively.
    string_list names() const;
    int count() const;

    // Clears the buffer and fills it with the item's lines; a missing or unreadable file leaves it empty. The
    // reference stays valid until the next load.
    const string_list& load(const std::string& name);
    // The item's lines handed to `take` as they are read, none kept (for_each_line in library/string_list.h);
    // `opened` is told the file's size first. Nothing is called for a missing or unreadable file.
    void for_each_line(const std::string& name, const std::function<void(std::uint64_t)>& opened,
                       const std::function<void(std::string_view)>& take) const;
    // Replaces the item's file atomically; false when it could not be written (the old file is then intact).
    bool save(const std::string& name, const string_list& lines);
    // The same with the content given whole, its lines already ended by CR LF.
    bool save_text(const std::string& name, std::string_view text);
    bool exists(const std::string& name) const;
    // The item's file size in bytes; 0 when it has no file.
    std::uint64_t size_of(const std::string& name) const;
    bool remove(const std::string& name);
    // Fails when `new_name` exists already: one item never overwrites another.
    bool rename(const std::string& old_name, const std::string& new_name);

    // A name that maps to a file inside the folder: not empty, not "." or "..", no '/', NUL, CR or LF.
    static bool is_valid_name(const std::string& name);

private:
    bool ensure_folder();
    std::string file_of(const std::string& name) const;

    std::string folder_;
    std::string extension_;
    std::string failure_text_;
    folder_failure_handler on_failure_;
    bool folder_ok_ = false;
    string_list buffer_;
};

// Start-up: removes the temporary files that interrupted saves left in the data folder and its two store folders,
// those written before this process started by a writer that is gone. Returns how many went.
int remove_stale_temporaries_of(const std::string& data_folder);

} // namespace karvo
