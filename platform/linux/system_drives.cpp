// SPDX-License-Identifier: GPL-3.0-or-later
// The drive table of this desktop: mounted file systems read from /proc/self/mountinfo, typed from the file system
// and /sys, labelled and numbered from udev's /dev/disk links, or from the file system itself through libblkid when
// udev made no links (containers, minimal systems).
#include "platform/drives.h"

#include "platform/file_system.h"
#include "platform/paths.h"

#include <algorithm>
#include <array>
#include <blkid/blkid.h>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sstream>
#include <string_view>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utility>

namespace karvo::platform {

namespace {

bool one_of(std::string_view value, std::initializer_list<std::string_view> values) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

// File systems that hold no user files: the kernel's interfaces, memory file systems, automounter stubs and
// read-only application images.
bool is_pseudo(std::string_view fs_type) {
    return one_of(fs_type, {"proc",     "sysfs",           "tmpfs",       "devtmpfs",   "devpts",        "cgroup",
                            "cgroup2",  "mqueue",          "debugfs",     "tracefs",    "securityfs",    "pstore",
                            "bpf",      "configfs",        "fusectl",     "hugetlbfs",  "autofs",        "binfmt_misc",
                            "efivarfs", "rpc_pipefs",      "nsfs",        "ramfs",      "selinuxfs",     "squashfs",
                            "nfsd",     "fuse.gvfsd-fuse", "fuse.portal", "fuse.lxcfs", "fuse.snapfuse", "overlay"});
}

bool is_kernel_tree(std::string_view mount_point) {
    for (std::string_view tree : {"/proc", "/sys", "/dev"}) {
        if (mount_point == tree || (mount_point.size() > tree.size() && mount_point.substr(0, tree.size()) == tree &&
                                    mount_point[tree.size()] == '/'))
            return true;
    }
    return false;
}

int hex_value(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// mountinfo writes blank, tab, newline and backslash as three octal digits after a backslash.
std::string unescape_octal(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() &&
            text.substr(i + 1, 3).find_first_not_of("01234567") == std::string_view::npos) {
            out += static_cast<char>(((text[i + 1] - '0') << 6) | ((text[i + 2] - '0') << 3) | (text[i + 3] - '0'));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string read_first_line(const std::string& path) {
    const auto content = read_file(path);
    if (!content)
        return {};
    return content->substr(0, content->find('\n'));
}

std::string real_path(const std::string& path) {
    std::string result;
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        result = real;
        std::free(real);
    }
    return result;
}

// The removable flag lives on the whole disk; a partition's sysfs folder sits inside its disk's.
bool is_removable(unsigned major, unsigned minor) {
    if (major == 0)
        return false;
    std::string device = real_path("/sys/dev/block/" + std::to_string(major) + ":" + std::to_string(minor));
    if (device.empty())
        return false;
    if (file_exists(device + "/partition"))
        device = folder_of(device);
    return read_first_line(with_trailing_slash(device) + "removable") == "1";
}

// The name of the /dev/disk/<kind> link that points at the mounted device, decoded; empty when none does.
std::string disk_link_name(const std::string& kind, const mount_entry& mount) {
    const std::string folder = "/dev/disk/" + kind + "/";
    const dev_t device = makedev(mount.major, mount.minor);
    const std::string source = mount.source.empty() || mount.source[0] != '/' ? std::string() : real_path(mount.source);
    for (const find_entry& entry : find_files(folder, "*")) {
        const std::string link = folder + entry.name;
        struct stat st {};
        const bool same_device =
            mount.major != 0 && ::stat(link.c_str(), &st) == 0 && S_ISBLK(st.st_mode) && st.st_rdev == device;
        if (same_device || (!source.empty() && real_path(link) == source))
            return decode_udev_name(entry.name);
    }
    return {};
}

// The kernel marks /proc/self/mountinfo exceptional whenever something is mounted or unmounted; reading it to the
// end takes the mark away.
class mountinfo_watch final : public mount_watch {
public:
    explicit mountinfo_watch(int fd) : fd_(fd) {}
    ~mountinfo_watch() override { ::close(fd_); }
    mountinfo_watch(const mountinfo_watch&) = delete;
    mountinfo_watch& operator=(const mountinfo_watch&) = delete;
    int descriptor() const override { return fd_; }
    void acknowledge() override {
        char buffer[4096];
        ::lseek(fd_, 0, SEEK_SET);
        while (::read(fd_, buffer, sizeof buffer) > 0) {
        }
    }

private:
    int fd_;
};

class linux_drive_table final : public drive_table {
public:
    std::unique_ptr<mount_watch> watch_mounts() override {
        const int fd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        return std::make_unique<mountinfo_watch>(fd);
    }

    std::vector<drive_info> drives() override {
        std::vector<drive_info> result;
        const auto text = read_file("/proc/self/mountinfo");
        for (const mount_entry& mount : parse_mountinfo(text.value_or(std::string()))) {
            // Files bind-mounted into a container are mount points too, but no drives.
            if (mount.mount_point != "/" && !directory_exists(mount.mount_point))
                continue;
            drive_info drive;
            drive.root = with_trailing_slash(mount.mount_point);
            drive.type = drive_type_of(mount.fs_type, mount.source, is_removable(mount.major, mount.minor));
            drive.label = disk_link_name("by-label", mount);
            std::string uuid = disk_link_name("by-uuid", mount);
            if ((drive.label.empty() || uuid.empty()) && mount.source.rfind("/dev/", 0) == 0) {
                volume_id probed = probe_volume(mount.source);
                if (drive.label.empty())
                    drive.label = std::move(probed.label);
                if (uuid.empty())
                    uuid = std::move(probed.uuid);
            }
            drive.serial = serial_from_uuid(uuid);
            result.push_back(std::move(drive));
        }
        if (result.empty() || result.front().root != "/")
            result.insert(result.begin(), drive_info{"/", drive_type::fixed, {}, 0xFFFFFFFFu});
        return result;
    }
};

} // namespace

std::vector<mount_entry> parse_mountinfo(const std::string& text) {
    std::vector<mount_entry> mounts;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string id, parent, numbers, root, mount_point, options, field;
        if (!(fields >> id >> parent >> numbers >> root >> mount_point >> options))
            continue;
        while (fields >> field && field != "-") {
        }
        mount_entry mount;
        if (field != "-" || !(fields >> mount.fs_type))
            continue;
        fields >> mount.source;
        mount.mount_point = unescape_octal(mount_point);
        mount.source = unescape_octal(mount.source);
        const auto colon = numbers.find(':');
        if (colon != std::string::npos) {
            mount.major = static_cast<unsigned>(std::strtoul(numbers.c_str(), nullptr, 10));
            mount.minor = static_cast<unsigned>(std::strtoul(numbers.c_str() + colon + 1, nullptr, 10));
        }
        const bool is_root = mount.mount_point == "/";
        if (!is_root && (is_pseudo(mount.fs_type) || is_kernel_tree(mount.mount_point)))
            continue;
        // A later mount on the same point hides the earlier one.
        std::erase_if(mounts, [&](const mount_entry& m) { return m.mount_point == mount.mount_point; });
        mounts.push_back(std::move(mount));
    }
    std::stable_sort(mounts.begin(), mounts.end(), [](const mount_entry& a, const mount_entry& b) {
        if ((a.mount_point == "/") != (b.mount_point == "/"))
            return a.mount_point == "/";
        return a.mount_point < b.mount_point;
    });
    return mounts;
}

drive_type drive_type_of(const std::string& fs_type, const std::string& source, bool removable) {
    if (fs_type == "iso9660" || fs_type == "udf" || source.rfind("/dev/sr", 0) == 0)
        return drive_type::cdrom;
    if (one_of(fs_type, {"nfs",         "nfs4",      "cifs",           "smb3",           "smbfs",
                         "ncpfs",       "afs",       "ceph",           "glusterfs",      "9p",
                         "sshfs",       "davfs",     "fuse.sshfs",     "fuse.davfs",     "fuse.davfs2",
                         "fuse.rclone", "fuse.s3fs", "fuse.glusterfs", "fuse.curlftpfs", "fuse.smbnetfs"}))
        return drive_type::network;
    if (removable)
        return drive_type::removable;
    return drive_type::fixed;
}

std::uint32_t serial_from_uuid(const std::string& uuid) {
    const auto all_hex = [](std::string_view text) {
        return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return hex_value(c) >= 0; });
    };
    const auto hex_number = [](std::string_view text) {
        std::uint32_t value = 0;
        for (char c : text)
            value = (value << 4) | static_cast<std::uint32_t>(hex_value(c));
        return value;
    };
    if (uuid.empty())
        return 0xFFFFFFFFu;
    const std::string_view text = uuid;
    if (text.size() == 9 && text[4] == '-' && all_hex(text.substr(0, 4)) && all_hex(text.substr(5)))
        return (hex_number(text.substr(0, 4)) << 16) | hex_number(text.substr(5));
    if (text.size() == 16 && all_hex(text))
        return hex_number(text.substr(8));
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}

std::string decode_udev_name(const std::string& name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' && hex_value(name[i + 2]) >= 0 &&
            hex_value(name[i + 3]) >= 0) {
            out += static_cast<char>(hex_value(name[i + 2]) * 16 + hex_value(name[i + 3]));
            i += 3;
        } else {
            out += name[i];
        }
    }
    return out;
}

volume_id probe_volume(const std::string& device) {
    volume_id id;
    if (blkid_probe probe = blkid_new_probe_from_filename(device.c_str())) {
        blkid_probe_enable_superblocks(probe, 1);
        blkid_probe_set_superblocks_flags(probe, BLKID_SUBLKS_LABEL | BLKID_SUBLKS_UUID);
        if (blkid_do_safeprobe(probe) == 0) {
            const char* value = nullptr;
            if (blkid_probe_lookup_value(probe, "LABEL", &value, nullptr) == 0 && value)
                id.label = value;
            if (blkid_probe_lookup_value(probe, "UUID", &value, nullptr) == 0 && value)
                id.uuid = value;
        }
        blkid_free_probe(probe);
        return id;
    }
    // A device the user may not read: what the system's blkid cache recorded for it.
    blkid_cache cache = nullptr;
    if (blkid_get_cache(&cache, nullptr) != 0)
        return id;
    for (auto [tag, field] : {std::pair{"LABEL", &id.label}, std::pair{"UUID", &id.uuid}}) {
        if (char* value = blkid_get_tag_value(cache, tag, device.c_str())) {
            *field = value;
            std::free(value);
        }
    }
    blkid_put_cache(cache);
    return id;
}

drive_table& system_drives() {
    static linux_drive_table table;
    return table;
}

} // namespace karvo::platform
