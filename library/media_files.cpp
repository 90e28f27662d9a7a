// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/media_files.h"

#include <algorithm>

#include "library/text.h"

namespace karvo {

void media_files::load(const string_list& plugin_extensions, const flag_lookup& enabled_flag) {
    plugin_extensions_.clear();
    enabled_.clear();
    enabled_upper_.clear();
    for (const std::string& extension : plugin_extensions) {
        plugin_extensions_.push_back(upper_case(extension));
        if (enabled_flag && !enabled_flag(extension))
            continue;
        enabled_.push_back(extension);
        if (!extension.empty())
            enabled_upper_.insert(plugin_extensions_.back());
    }
}

bool media_files::is_media_file(std::string_view path) const {
    const std::string extension = upper_extension(path);
    return !extension.empty() && enabled_upper_.count(extension) != 0;
}

int media_files::icon_index(std::string_view path) const {
    const std::string extension = upper_extension(path);
    if (extension.empty())
        return 9;
    const auto found = std::find(plugin_extensions_.begin(), plugin_extensions_.end(), extension);
    return found == plugin_extensions_.end() ? 9 : static_cast<int>(found - plugin_extensions_.begin());
}

} // namespace karvo
