// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/drives.h"

namespace karvo::platform {

std::string drive_root_of(const std::string& path, const std::vector<drive_info>& drives) {
    std::string best = "/";
    // "/media/cd" lies under the root "/media/cd/" just as "/media/cd/a.mp3" does.
    const std::string with_slash = (!path.empty() && path.back() != '/') ? path + "/" : path;
    for (const drive_info& drive : drives) {
        const std::string& root = drive.root;
        if (root.size() > best.size() && with_slash.compare(0, root.size(), root) == 0)
            best = root;
    }
    return best;
}

} // namespace karvo::platform
