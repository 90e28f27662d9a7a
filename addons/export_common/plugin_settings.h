// SPDX-License-Identifier: GPL-3.0-or-later
// Where an export plug-in keeps its own few settings: a small INI file of its own in the program's data folder
// (never karvo.ini, which the program keeps open), read and written through the program's profile functions.
#pragma once

#include <string>

namespace karvo::exports {

class plugin_settings {
public:
    // `file_name` in the data folder of the program this process runs.
    explicit plugin_settings(const std::string& file_name);

    std::string text(const char* key, const std::string& fallback) const;
    bool flag(const char* key, bool fallback) const;
    void set_text(const char* key, const std::string& value) const;
    void set_flag(const char* key, bool value) const;

private:
    std::string file_;
};

} // namespace karvo::exports
