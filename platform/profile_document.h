// SPDX-License-Identifier: GPL-3.0-or-later
// A profile (INI) file read once and kept as its lines: gets are answered from memory with the rules of the
// per-call profile functions, and every change is written through at once, atomically, keeping the bytes of the
// lines it does not touch, so that a run of changes leaves the file as the same run of per-call writes would.
#pragma once

#include "platform/file_system.h"

#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace karvo::platform {

namespace profile_detail {

enum class line_kind { other, section, key, comment };

struct line {
    std::string text;   // the bytes of the line without its ending
    std::string ending; // "\r\n", "\n", "\r" or "" for a last line without one
    line_kind kind = line_kind::other;
    std::string name;      // section name or key name, trimmed
    std::u32string folded; // the name case-folded, as it is compared
    std::string value;     // key value trimmed, quotes still on
};

struct lines {
    std::string bom;
    std::vector<line> items;
};

} // namespace profile_detail

// Held by every document operation; the per-call functions hold it across their whole read-modify-write, so that
// writes from several threads never lose one another.
std::recursive_mutex& profile_lock();

class profile_document {
public:
    using key_values = std::vector<std::pair<std::string, std::string>>;

    profile_document() = default; // bound to no file: changes stay in memory
    explicit profile_document(std::string file) { open(std::move(file)); }
    profile_document(const profile_document&) = delete;
    profile_document& operator=(const profile_document&) = delete;
    profile_document(profile_document&&) = default;
    profile_document& operator=(profile_document&&) = default;

    // Binds the document to `file` and reads it. A missing file reads as empty and is created by the first change;
    // a file that exists but cannot be read gives defaults and refuses changes, so it is never replaced unseen.
    void open(std::string file);
    const std::string& file() const { return file_; }

    // The file is read again only when it changed on disk since it was read or written here (checked by its
    // version, without opening it), so writes made past the document are seen, never overwritten.
    std::string get_string(std::string_view section, std::string_view key, std::string_view default_value) const;
    int get_int(std::string_view section, std::string_view key, int default_value) const;
    std::vector<std::string> keys(std::string_view section) const;
    key_values values(std::string_view section) const; // a repeated key keeps its first value
    std::vector<std::string> sections() const;
    std::string text() const; // the bytes the file holds

    // False when the change is refused (see write_private_profile_string) or the file could not be written; the
    // document and the file are then unchanged. A change that changes no line writes nothing.
    bool set_string(std::string_view section, std::string_view key, std::string_view value);
    bool set_strings(std::string_view section, const key_values& pairs);
    // set_strings for the pairs the file can hold; a pair it cannot (a line break in the value, a key that cannot be
    // named) is left out, so one bad value never costs the others. False when one was left out or the write failed.
    bool set_strings_leaving_out(std::string_view section, const key_values& pairs);
    bool delete_key(std::string_view section, std::string_view key);
    bool delete_section(std::string_view section);

private:
    enum class file_state { missing, unreadable, read };

    void refresh(bool always = false) const;
    template <typename Change>
    bool change(Change apply);

    std::string file_;
    mutable profile_detail::lines lines_;
    mutable std::optional<file_version> version_;
    mutable file_state state_ = file_state::missing;
};

} // namespace karvo::platform
