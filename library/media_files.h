// SPDX-License-Identifier: GPL-3.0-or-later
// Which files count as media: the extensions of the resource plug-in that the [Advanced] section leaves enabled,
// and the icon of a file, by the position of its extension in the plug-in's list.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "library/string_list.h"

namespace karvo {

class media_files {
public:
    // Reads the [Advanced] flag of one extension (key = the extension as the plug-in delivers it, default true).
    using flag_lookup = std::function<bool(const std::string& extension)>;

    // Rebuilt in plug-in order; an extension whose flag is off is left out. Without a lookup every one is enabled.
    void load(const string_list& plugin_extensions, const flag_lookup& enabled_flag);

    // True when the file's extension, upper-cased and without the dot, is enabled (case does not matter); a name
    // without extension never counts.
    bool is_media_file(std::string_view path) const;

    // Position of the extension in the plug-in's list, or 9 when it is not there.
    int icon_index(std::string_view path) const;

    const string_list& enabled() const { return enabled_; }

private:
    string_list plugin_extensions_; // upper-cased, plug-in order
    string_list enabled_;           // as delivered, plug-in order
    std::unordered_set<std::string> enabled_upper_;
};

} // namespace karvo
