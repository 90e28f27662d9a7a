// SPDX-License-Identifier: GPL-3.0-or-later
// The "logical drives" of this desktop: mounted file systems with their type, label and 32-bit serial number.
#pragma once

#include <cstdint>
#include <string>
#include <memory>
#include <vector>

namespace karvo::platform {

enum class drive_type { fixed, removable, cdrom, network };

// The serial of a volume that cannot be read (or has no UUID): it identifies no volume.
inline constexpr std::uint32_t unknown_serial = 0xFFFFFFFFu;

struct drive_info {
    std::string root; // mount point with trailing '/'
    drive_type type = drive_type::fixed;
    std::string label; // volume label, may be empty
    std::uint32_t serial = unknown_serial;
};

// Tells when something was mounted or unmounted: its descriptor turns exceptional (poll's POLLPRI) on every change,
// and `acknowledge` must be called after each before the next one shows.
class mount_watch {
public:
    virtual ~mount_watch() = default;
    virtual int descriptor() const = 0;
    virtual void acknowledge() = 0;
};

class drive_table {
public:
    virtual ~drive_table() = default;
    // "/" first, then by mount point; pseudo file systems left out.
    virtual std::vector<drive_info> drives() = 0;
    // A watch of the mounts, or null where changes cannot be followed.
    virtual std::unique_ptr<mount_watch> watch_mounts() { return nullptr; }
};

drive_table& system_drives();

// The longest drive root that `path` lies under ("/" when none is longer).
std::string drive_root_of(const std::string& path, const std::vector<drive_info>& drives);

// One line of /proc/self/mountinfo, its escapes (\040 for a blank) decoded.
struct mount_entry {
    std::string mount_point;
    std::string fs_type;
    std::string source;
    unsigned major = 0;
    unsigned minor = 0;
};

// The mounts of a mountinfo text that count as drives: pseudo file systems and the kernel's own trees left out,
// a mount point mounted over keeps its last mount, "/" first and the rest ordered by mount point.
std::vector<mount_entry> parse_mountinfo(const std::string& text);

// Drive type from the file system type, the mount source and the block device's removable flag.
drive_type drive_type_of(const std::string& fs_type, const std::string& source, bool removable);

// The 32-bit serial of a volume from its UUID as udev names it: "ABCD-1234" (FAT, exFAT) is the hexadecimal
// number 0xABCD1234, sixteen hex digits (NTFS) give their low 32 bits, any other UUID a stable 32-bit hash of its
// text; 0xFFFFFFFF when there is none.
std::uint32_t serial_from_uuid(const std::string& uuid);

// Label and UUID (in udev's spelling) of the file system on a block device or in an image file, read with
// libblkid; empty fields when it cannot be read or has none.
struct volume_id {
    std::string label;
    std::string uuid;
};
volume_id probe_volume(const std::string& device);

// A name from /dev/disk/by-label or by-uuid with udev's \xHH escapes decoded.
std::string decode_udev_name(const std::string& name);

} // namespace karvo::platform
