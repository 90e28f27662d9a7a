// SPDX-License-Identifier: GPL-3.0-or-later
// Changing a file by replacing it whole. TagLib edits files in place, and a tag that grows moves the audio behind
// it, so an interrupted save would leave a broken file. The edit is made on a copy beside the file instead; the
// copy is flushed and renamed over the original, so a reader, a crash or a kill at any moment finds the old file or
// the new one. The copy keeps the original's permissions (and owner, where allowed); a symbolic link keeps pointing
// at its target, which is what gets replaced. A copy left by a writer that was killed is removed by the next write
// of the same file.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace karvo::resource {

class file_replacement {
public:
    // Asked before each step ("copy", "sync", "rename"); false makes that step fail as a real failure would. Tests
    // use it to show that a failure at any step leaves the original untouched.
    using fault_hook = std::function<bool(std::string_view step)>;

    // Makes the copy. ok() tells whether it worked; error() says why not.
    explicit file_replacement(const std::string& path, fault_hook hook = {});
    // Removes the copy unless it was committed.
    ~file_replacement();
    file_replacement(const file_replacement&) = delete;
    file_replacement& operator=(const file_replacement&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    // The copy to edit.
    const std::string& copy_path() const { return copy_; }
    // Flushes the copy, renames it over the original and flushes the folder. False (with error()) leaves the
    // original as it was.
    bool commit();

private:
    bool step(std::string_view name) const { return !hook_ || hook_(name); }
    bool fail(const std::string& what, int error_number);

    fault_hook hook_;
    std::string target_, copy_;
    std::string error_;
    bool committed_ = false;
};

} // namespace karvo::resource
