// SPDX-License-Identifier: GPL-3.0-or-later
// Private-profile access to INI files with the rules of the Windows profile functions: sections and keys compared
// without regard to case, blanks around keys and values trimmed, one pair of surrounding quotes stripped on read,
// a missing file, section or key yields the caller's default. Every write keeps all other lines, writes CR LF line
// ends and replaces the file atomically. Each call reads the file afresh; platform/profile_document.h keeps one
// in memory for a caller that reads many keys.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace karvo::platform {

std::string get_private_profile_string(const std::string& section, const std::string& key,
                                       const std::string& default_value, const std::string& file);

// Leading blanks, an optional sign and the decimal digits that follow; 0 when the value holds no number. A value
// written as "0x..." is read as hexadecimal, as the Windows function does.
int get_private_profile_int(const std::string& section, const std::string& key, int default_value,
                            const std::string& file);

// Writes key=value, adding the section at the end of the file and the key after the last key of its section when
// missing. Leading blanks of the value are dropped. Returns false when the file could not be written; the old file
// is then unchanged. A value holding CR or LF, an empty section or key, or a key that would read back as something
// else (holding '=', starting with ';' or '[') is refused with false, as it would break the file's lines.
bool write_private_profile_string(const std::string& section, const std::string& key, const std::string& value,
                                  const std::string& file);

// Writes several keys of one section with one replacement of the file, which ends byte for byte as after one
// write_private_profile_string per pair in order. When any pair would be refused, nothing is written and the result
// is false.
bool write_private_profile_strings(const std::string& section,
                                   const std::vector<std::pair<std::string, std::string>>& pairs,
                                   const std::string& file);

// Removes a key (nothing when missing). Returns false when the file could not be written.
bool delete_private_profile_key(const std::string& section, const std::string& key, const std::string& file);

// Removes a whole section with its keys.
bool delete_private_profile_section(const std::string& section, const std::string& file);

// The key names of a section in file order (empty when the section or file is missing).
std::vector<std::string> get_private_profile_keys(const std::string& section, const std::string& file);

// The key/value pairs of a section in file order, each value as get_private_profile_string returns it; a key that
// repeats (in any case) keeps its first value, as the single read does. Empty when the section or file is missing.
std::vector<std::pair<std::string, std::string>> get_private_profile_section(const std::string& section,
                                                                             const std::string& file);

// The section names in file order.
std::vector<std::string> get_private_profile_sections(const std::string& file);

} // namespace karvo::platform
