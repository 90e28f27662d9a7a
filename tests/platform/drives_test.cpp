// SPDX-License-Identifier: GPL-3.0-or-later
// Mount table parsing, drive types and volume serials.
#include "platform/drives.h"

#include <gtest/gtest.h>

#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

namespace karvo::platform {
namespace {

TEST(Mountinfo, KeepsRealFileSystemsInDriveOrder) {
    const std::string text =
        "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
        "23 27 0:22 / /sys rw,relatime - sysfs sysfs rw\n"
        "24 27 0:6 / /dev rw,relatime - devtmpfs devtmpfs rw,size=1k\n"
        "26 24 0:24 / /dev/pts rw,relatime - devpts devpts rw\n"
        "60 27 8:17 / /media/user/My\\040Disk rw,nosuid shared:40 master:2 - vfat /dev/sdb1 rw,fmask=0022\n"
        "27 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw,discard\n"
        "31 23 0:28 / /sys/fs/cgroup rw,relatime - cgroup2 cgroup2 rw\n"
        "32 27 0:29 / /run rw,nosuid - tmpfs tmpfs rw,mode=755\n"
        "40 27 8:2 / /home rw,relatime - ext4 /dev/sda2 rw\n"
        "41 40 8:3 / /home rw,relatime - xfs /dev/sda3 rw\n"
        "50 27 11:0 / /mnt/cd ro,relatime - iso9660 /dev/sr0 ro\n"
        "51 27 0:50 / /mnt/nas rw - nfs4 server:/export rw\n"
        "52 27 7:1 / /snap/core/1 ro - squashfs /dev/loop1 ro\n"
        "53 27 0:51 / /srv/tab\\011and\\134slash rw - btrfs /dev/sdc1 rw\n"
        "garbage line\n"
        "54 27 0:52 / /mnt/broken rw no separator here\n";
    const std::vector<mount_entry> mounts = parse_mountinfo(text);
    std::vector<std::string> points;
    for (const mount_entry& m : mounts)
        points.push_back(m.mount_point);
    EXPECT_EQ(points, (std::vector<std::string>{"/", "/home", "/media/user/My Disk", "/mnt/cd", "/mnt/nas",
                                                "/srv/tab\tand\\slash"}));
    ASSERT_EQ(mounts.size(), 6u);
    EXPECT_EQ(mounts[1].fs_type, "xfs"); // the later mount on /home hides the first
    EXPECT_EQ(mounts[2].fs_type, "vfat");
    EXPECT_EQ(mounts[2].source, "/dev/sdb1");
    EXPECT_EQ(mounts[2].major, 8u);
    EXPECT_EQ(mounts[2].minor, 17u);
    EXPECT_EQ(mounts[4].source, "server:/export");
}

TEST(Mountinfo, RootIsKeptWhateverItsFileSystem) {
    const auto mounts = parse_mountinfo("1 0 0:40 / / rw - overlay overlay rw,lowerdir=/a\n"
                                        "2 1 0:41 / /data rw - overlay overlay rw\n");
    ASSERT_EQ(mounts.size(), 1u);
    EXPECT_EQ(mounts[0].mount_point, "/");
    EXPECT_TRUE(parse_mountinfo("").empty());
}

TEST(Drives, TypeFromFileSystemDeviceAndFlag) {
    struct type_case {
        const char* fs_type;
        const char* source;
        bool removable;
        drive_type expected;
    };
    const std::vector<type_case> cases = {
        {"iso9660", "/dev/sr0", false, drive_type::cdrom},   {"udf", "/dev/sdb", true, drive_type::cdrom},
        {"ext4", "/dev/sr1", false, drive_type::cdrom},      {"vfat", "/dev/sdb1", true, drive_type::removable},
        {"ext4", "/dev/sda1", false, drive_type::fixed},     {"nfs4", "srv:/x", false, drive_type::network},
        {"cifs", "//srv/share", false, drive_type::network}, {"fuse.sshfs", "me@host:", false, drive_type::network},
        {"smb3", "//srv/s", false, drive_type::network},
    };
    for (const type_case& c : cases)
        EXPECT_EQ(drive_type_of(c.fs_type, c.source, c.removable), c.expected) << c.fs_type << " " << c.source;
}

TEST(Drives, SerialFromUuid) {
    struct serial_case {
        const char* uuid;
        std::uint32_t expected;
    };
    const std::vector<serial_case> cases = {
        {"ABCD-1234", 0xABCD1234u},                                    // FAT and exFAT show their serial as the UUID
        {"abcd-1234", 0xABCD1234u}, {"1234567890ABCDEF", 0x90ABCDEFu}, // NTFS: the low half of its 64-bit serial
        {"", 0xFFFFFFFFu},          {"a", 0xE40C292Cu},         // others: FNV-1a of the text (published test vectors)
        {"foobar", 0xBF9CF968u},    {"ABCD_1234", 0xD5C829E2u}, // not the FAT shape: hashed
    };
    for (const serial_case& c : cases)
        EXPECT_EQ(serial_from_uuid(c.uuid), c.expected) << c.uuid;
    EXPECT_NE(serial_from_uuid("0b6f3a2e-1c51-4d5e-9a0f-2a1b3c4d5e6f"),
              serial_from_uuid("0b6f3a2e-1c51-4d5e-9a0f-2a1b3c4d5e70"));
}

TEST(Drives, UdevNamesAndDriveRoots) {
    EXPECT_EQ(decode_udev_name("My\\x20Disk"), "My Disk");
    EXPECT_EQ(decode_udev_name("A\\x2fB"), "A/B");
    EXPECT_EQ(decode_udev_name("plain"), "plain");
    EXPECT_EQ(decode_udev_name("cut\\x2"), "cut\\x2");

    const std::vector<drive_info> drives = {{"/", drive_type::fixed, "", 1},
                                            {"/media/cd/", drive_type::cdrom, "CD", 2},
                                            {"/media/cd2/", drive_type::cdrom, "", 3}};
    EXPECT_EQ(drive_root_of("/media/cd/Album/01.mp3", drives), "/media/cd/");
    EXPECT_EQ(drive_root_of("/media/cd", drives), "/media/cd/");
    EXPECT_EQ(drive_root_of("/media/cd2/x.mp3", drives), "/media/cd2/");
    EXPECT_EQ(drive_root_of("/media/cdx/x.mp3", drives), "/");
    EXPECT_EQ(drive_root_of("relative/x.mp3", drives), "/");
}

// An ISO 9660 image of two sectors' worth of descriptors: the primary volume descriptor (label, modification time,
// which is the volume's UUID) and the set terminator, each at its fixed 2048-byte sector.
std::string iso_image(const std::string& label, const std::string& modified) {
    std::string image(20 * 2048, '\0');
    auto descriptor = [&](std::size_t sector, char type) {
        const std::size_t at = sector * 2048;
        image[at] = type;
        image.replace(at + 1, 5, "CD001");
        image[at + 6] = 1;
        return at;
    };
    const std::size_t pvd = descriptor(16, 1);
    image.replace(pvd + 8, 32, std::string(32, ' '));
    std::string padded = label;
    padded.resize(32, ' ');
    image.replace(pvd + 40, 32, padded);
    image.replace(pvd + 830, 16, modified);
    descriptor(17, static_cast<char>(255));
    return image;
}

TEST(Drives, VolumeWithoutUdevLinksIsProbedFromItsFileSystem) {
    testing::temp_folder folder;
    struct probe_case {
        std::string bytes;
        const char* label;
        const char* uuid;
    };
    const std::vector<probe_case> cases = {
        {iso_image("JAZZ_1959", "2026120910593000"), "JAZZ_1959", "2026-12-09-10-59-30-00"},
        {iso_image("", "1999010100000000"), "", "1999-01-01-00-00-00-00"},
        {std::string(40960, 'x'), "", ""}, // no file system
    };
    for (const probe_case& c : cases) {
        const std::string image = folder.file("volume.img");
        testing::write_raw(image, c.bytes);
        const volume_id id = probe_volume(image);
        EXPECT_EQ(id.label, c.label);
        EXPECT_EQ(id.uuid, c.uuid);
    }
    EXPECT_EQ(probe_volume(folder.file("missing.img")).uuid, "");
}

TEST(Drives, SystemTableStartsWithRoot) {
    const auto drives = system_drives().drives();
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives.front().root, "/");
    for (const drive_info& drive : drives) {
        EXPECT_EQ(drive.root.back(), '/') << drive.root;
        EXPECT_EQ(drive.root.rfind("/proc", 0), std::string::npos) << drive.root;
    }
}

} // namespace
} // namespace karvo::platform
