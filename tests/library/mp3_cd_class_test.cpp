// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/mp3_cd_class.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "library/media_list.h"
#include "platform/ini_file.h"
#include "platform/testing/fake_drive_table.h"
#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

namespace karvo {
namespace {

using platform::drive_info;
using platform::drive_type;
using testing::read_raw;
using testing::write_raw;

std::string info(const std::string& path) {
    media_fields fields;
    fields[0] = path;
    fields[1] = "song";
    return make_media_info(fields);
}

constexpr std::uint32_t serial = 0x12345678u; // 305419896, held by a float as 305419904

drive_info fixed_root() {
    return {"/", drive_type::fixed, "", 0x0000BEEFu};
}
drive_info cd(const std::string& root, std::uint32_t disc) {
    return {root, drive_type::cdrom, "DISC", disc};
}

TEST(mp3_cd_class, disc_identity_is_the_serial_in_single_precision) {
    struct {
        std::uint32_t serial;
        const char* text;
    } cases[] = {
        {0u, "0"},
        {16777216u, "16777216"},
        {16777217u, "16777216"}, // beyond 24 bits the lowest bit is lost
        {serial, "305419904"},
        {0xFFFFFFFFu, "4294967296"}, // unreadable volume
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(format_identity(disc_identity(c.serial)), c.text);
        EXPECT_EQ(parse_identity(c.text), disc_identity(c.serial));
    }
    EXPECT_EQ(disc_identity(serial), disc_identity(serial + 3)); // such discs count as one
    EXPECT_EQ(format_identity(no_disc_identity), "-1");
    EXPECT_EQ(format_identity(1.5f), "1.5");

    for (const char* garbage : {"", "abc", "12abc", "0x10", "nan", "inf", "1e999", "\xFF\xFE"})
        EXPECT_EQ(parse_identity(garbage), no_disc_identity) << garbage;
    EXPECT_EQ(parse_identity(" 42 "), 42.0f);
}

struct cd_store_test : ::testing::Test {
    testing::temp_folder data;
    mp3_cd_class store{data.path()};
    platform::fake_drive_table drives;

    // What Add New Media CD does once the disc in `root` has been scanned into `list`.
    void add(const std::string& name, const std::string& root, const string_list& files) {
        const auto identity = disc_identity_of(root, drives);
        ASSERT_TRUE(identity);
        ASSERT_TRUE(store.store_identity(name, *identity));
        media_list list;
        for (const auto& file : files)
            list.append(info(root + file), "");
        ASSERT_TRUE(store.save_catalogue(name, list, drives));
        EXPECT_EQ(list.cell(ListName, 0), name);
    }

    string_list shown_paths(const std::string& name, std::optional<std::string>* found = nullptr) {
        media_list list;
        const auto root = store.load_into(name, list, drives);
        if (found)
            *found = root;
        string_list paths;
        for (int row = 0; row < list.count(); ++row) {
            EXPECT_EQ(list.cell(ListName, row), name);
            paths.emplace_back(list.full_path(row));
        }
        return paths;
    }
};

TEST_F(cd_store_test, catalogue_holds_paths_relative_to_the_disc_and_finds_it_in_any_cd_drive) {
    drives.set_drives({fixed_root(), cd("/media/cdrom/", serial)});
    add("Jazz", "/media/cdrom/", {"a.mp3", "sub/b.mp3"});
    const std::string stored = read_raw(data.path() + "/Media CDs/Jazz.vmc");
    EXPECT_EQ(stored.substr(0, 6), "a.mp3\xFF");
    EXPECT_NE(stored.find("\r\nsub/b.mp3\xFF"), std::string::npos);
    EXPECT_EQ(store.load("Jazz").size(), 2u);
    EXPECT_EQ(store.stored_identity("Jazz"), disc_identity(serial));

    // The disc moves to the second drive; the first holds another disc.
    drives.set_drives({fixed_root(), cd("/media/cdrom/", 7u), cd("/media/cdrom1/", serial + 1)});
    std::optional<std::string> found;
    EXPECT_EQ(shown_paths("Jazz", &found), (string_list{"/media/cdrom1/a.mp3", "/media/cdrom1/sub/b.mp3"}));
    EXPECT_EQ(found, "/media/cdrom1/");

    // Out of every drive: the paths stay relative. A fixed drive with the same serial is not a CD drive.
    drives.set_drives({{"/", drive_type::fixed, "", serial}, cd("/media/cdrom/", 7u)});
    EXPECT_EQ(shown_paths("Jazz", &found), (string_list{"a.mp3", "sub/b.mp3"}));
    EXPECT_FALSE(found);
}

TEST_F(cd_store_test, two_catalogues_of_one_disc_share_an_identity_and_unknown_serials_match_nothing) {
    drives.set_drives({fixed_root(), cd("/cd/", serial)});
    add("First", "/cd/", {"x.mp3"});
    add("Second", "/cd/", {"y.mp3"});
    EXPECT_EQ(shown_paths("First"), (string_list{"/cd/x.mp3"}));
    EXPECT_EQ(shown_paths("Second"), (string_list{"/cd/y.mp3"}));

    // A volume of unknown serial has no identity, and a catalogue stored with one earlier is never found in it;
    // a real serial that rounds to the same value still is.
    drives.set_drives({fixed_root(), cd("/cd/", platform::unknown_serial)});
    EXPECT_FALSE(disc_identity_of("/cd/", drives));
    EXPECT_FALSE(disc_identity_of("/nowhere/", drives));
    ASSERT_TRUE(store.store_identity("First", disc_identity(platform::unknown_serial)));
    EXPECT_EQ(shown_paths("First"), (string_list{"x.mp3"}));
    drives.add_drive(cd("/cd2/", 0xFFFFFFFEu));
    EXPECT_EQ(shown_paths("First"), (string_list{"/cd2/x.mp3"}));
}

TEST_F(cd_store_test, saving_again_leaves_the_catalogue_unchanged) {
    drives.set_drives({fixed_root(), cd("/media/cdrom/", serial)});
    add("Disc", "/media/cdrom/", {"a.mp3"});
    const std::string first = read_raw(data.path() + "/Media CDs/Disc.vmc");
    EXPECT_EQ(relative_to_drive("", drives.drives()), "");
    EXPECT_EQ(relative_to_drive("/", drives.drives()), "");
    EXPECT_EQ(relative_to_drive("a", drives.drives()), "a");
    EXPECT_EQ(relative_to_drive("/media/cd", drives.drives()), "media/cd"); // shorter than the CD's root

    for (bool inserted : {true, false}) {
        SCOPED_TRACE(inserted);
        if (!inserted)
            drives.set_drives({fixed_root()});
        media_list list;
        store.load_into("Disc", list, drives);
        ASSERT_TRUE(store.save_catalogue("Disc", list, drives));
        EXPECT_EQ(read_raw(data.path() + "/Media CDs/Disc.vmc"), first);
    }
}

TEST_F(cd_store_test, rename_keeps_the_identity_and_remove_drops_it) {
    drives.set_drives({fixed_root(), cd("/cd/", serial)});
    add("Old", "/cd/", {"a.mp3"});
    add("Other", "/cd/", {"b.mp3"});
    ASSERT_TRUE(store.store_identity("Other", 99.0f));

    EXPECT_FALSE(store.rename("Old", "Other")); // never overwrites another catalogue
    EXPECT_EQ(store.stored_identity("Other"), 99.0f);
    EXPECT_EQ(store.stored_identity("Old"), disc_identity(serial));

    ASSERT_TRUE(store.rename("Old", "New"));
    EXPECT_EQ(store.stored_identity("New"), disc_identity(serial));
    EXPECT_EQ(store.stored_identity("Old"), no_disc_identity);
    EXPECT_EQ(platform::get_private_profile_keys("Settings", store.index_path()),
              (std::vector<std::string>{"Other", "New"}));
    EXPECT_EQ(store.names(), (string_list{"New", "Other"}));

    ASSERT_TRUE(store.remove("New"));
    EXPECT_EQ(platform::get_private_profile_keys("Settings", store.index_path()), (std::vector<std::string>{"Other"}));
    EXPECT_FALSE(store.remove("New"));
    EXPECT_EQ(store.count(), 1);

    // A damaged index reads as no disc: the entries stay relative.
    const char garbage[] = "\x00\xFF[Settings]\r\nOther=zero\r\n\xFE=\r\n";
    write_raw(store.index_path(), std::string(garbage, sizeof garbage - 1));
    EXPECT_EQ(store.stored_identity("Other"), no_disc_identity);
    EXPECT_EQ(shown_paths("Other"), (string_list{"b.mp3"}));
}

// Every name a Media CD can have keeps its own index key: those a profile file cannot hold as they are ("=",
// a leading "[" or ";", blanks around it) and names differing only by such blanks.
TEST_F(cd_store_test, every_name_keeps_an_index_key_of_its_own) {
    const std::vector<std::string> names = {"A=B", "[Box]", ";semi", "Trail", "Trail ", " Trail", "Trail\t",
                                            "%41", "A",   "x%y",   "=",     "Plain name", "Été ="};
    for (std::size_t i = 0; i < names.size(); ++i)
        ASSERT_TRUE(store.store_identity(names[i], static_cast<float>(100 + i))) << names[i];
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(store.stored_identity(names[i]), static_cast<float>(100 + i)) << "[" << names[i] << "]";
    // Plain names keep the key an earlier index has for them.
    EXPECT_EQ(platform::get_private_profile_string("Settings", "Plain name", "", store.index_path()), "111");

    write_raw(store.folder() + "A=B.vmc", "");
    ASSERT_TRUE(store.rename("A=B", "Trail  "));
    EXPECT_EQ(store.stored_identity("Trail  "), 100.0f);
    EXPECT_EQ(store.stored_identity("A=B"), no_disc_identity);
    EXPECT_EQ(store.stored_identity("Trail "), 104.0f);
    ASSERT_TRUE(store.remove("Trail  "));
    EXPECT_EQ(store.stored_identity("Trail  "), no_disc_identity);
    EXPECT_EQ(store.stored_identity("Trail"), 103.0f);
}

} // namespace
} // namespace karvo
