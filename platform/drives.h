// The "logical drives" of this desktop: mounted file systems with their type, label and 32-bit serial number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace karvo::platform {

enum class drive_type { fixed, removable, cdrom, network };

struct drive_info {
    std::string root;    // mount point with trailing '/'
    drive_type type = drive_type::fixed;
    std::string label;   // volume label, may be empty
    std::uint32_t serial = 0xFFFFFFFFu;
};

class drive_table {
public:
    virtual ~drive_table() = default;
    // "/" first, then by mount point; pseudo file systems left out.
    virtual std::vector<drive_info> drives() = 0;
};

drive_table& system_drives();

// The longest drive root that `path` lies under ("/" when none is longer).
std::string drive_root_of(const std::string& path, const std::vector<drive_info>& drives);

} // namespace karvo::platform
