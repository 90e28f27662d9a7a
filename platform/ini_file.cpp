// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ini_file.h"

#include "platform/profile_document.h"

#include <mutex>

namespace karvo::platform {

// Every call reads the file afresh as a document of its own; the lock is held from the read to the write so that a
// read-modify-write of one thread never loses another's.

std::string get_private_profile_string(const std::string& section, const std::string& key,
                                       const std::string& default_value, const std::string& file) {
    std::lock_guard guard(profile_lock());
    return profile_document(file).get_string(section, key, default_value);
}

int get_private_profile_int(const std::string& section, const std::string& key, int default_value,
                            const std::string& file) {
    std::lock_guard guard(profile_lock());
    return profile_document(file).get_int(section, key, default_value);
}

bool write_private_profile_string(const std::string& section, const std::string& key, const std::string& value,
                                  const std::string& file) {
    std::lock_guard guard(profile_lock());
    return profile_document(file).set_string(section, key, value);
}

bool write_private_profile_strings(const std::string& section,
                                   const std::vector<std::pair<std::string, std::string>>& pairs,
                                   const std::string& file) {
    std::lock_guard guard(profile_lock());
    return profile_document(file).set_strings(section, pairs);
}

bool delete_private_profile_key(const std::string& section, const std::string& key, const std::string& file) {
    std::lock_guard guard(profile_lock());
    return profile_document(file).delete_key(section, key);
}

bool delete_private_profile_section(const std::string& section, const std::string& file) {
    std::lock_guard guard(profile_lock());
    return profile_document(file).delete_section(section);
}

std::vector<std::string> get_private_profile_keys(const std::string& section, const std::string& file) {
    std::lock_guard guard(profile_lock());
    return profile_document(file).keys(section);
}

std::vector<std::pair<std::string, std::string>> get_private_profile_section(const std::string& section,
                                                                             const std::string& file) {
    std::lock_guard guard(profile_lock());
    return profile_document(file).values(section);
}

std::vector<std::string> get_private_profile_sections(const std::string& file) {
    std::lock_guard guard(profile_lock());
    return profile_document(file).sections();
}

} // namespace karvo::platform
