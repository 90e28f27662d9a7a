// SPDX-License-Identifier: GPL-3.0-or-later
// The in-memory profile document against the per-call profile functions it must match byte for byte.
#include "platform/profile_document.h"

#include "platform/ini_file.h"
#include "platform/testing/read_counter.h"
#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace karvo::platform {
namespace {

using testing::read_raw;
using testing::write_raw;

enum class op_kind { set, delete_key, delete_section };

struct op {
    op_kind kind;
    std::string section, key, value;
};

// One document kept open through a run of changes ends as the same run of per-call writes, and reads back as
// they do.
TEST(ProfileDocument, ChangesEqualThePerCallWrites) {
    const struct {
        const char* name;
        std::string before; // "-" for no file
        std::vector<op> ops;
    } cases[] = {
        {"no file",
         "-",
         {{op_kind::set, "S", "A", "1"},
          {op_kind::set, "S", "B", " 2"},
          {op_kind::set, "T", "x", "y"},
          {op_kind::delete_key, "s", "a", ""},
          {op_kind::set, "S", "a", "again"}}},
        {"blanked header, mixed line ends",
         "[ s ]\nk=1\n\n[T]\rx=1",
         {{op_kind::set, "S", "K", "2"},
          {op_kind::set, "s", "new", "3"},
          {op_kind::delete_section, "t", "", ""},
          {op_kind::set, "T", "y", "4"},
          {op_kind::set, "s", "NEW", "5"}}},
        {"mark, unended last line",
         "\xEF\xBB\xBF[S]\r\nK=v",
         {{op_kind::set, "S", "L", "w"},
          {op_kind::delete_key, "S", "K", ""},
          {op_kind::set, "S", "K", "\"q\""},
          {op_kind::delete_section, "S", "", ""},
          {op_kind::set, "S", "M", "m"}}},
    };
    testing::temp_folder folder;
    const std::string kept = folder.file("kept.ini");
    const std::string single = folder.file("single.ini");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(kept);
        std::filesystem::remove(single);
        if (c.before != "-") {
            write_raw(kept, c.before);
            write_raw(single, c.before);
        }
        profile_document document(kept);
        for (const op& o : c.ops) {
            if (o.kind == op_kind::set) {
                ASSERT_TRUE(document.set_string(o.section, o.key, o.value));
                ASSERT_TRUE(write_private_profile_string(o.section, o.key, o.value, single));
            } else if (o.kind == op_kind::delete_key) {
                ASSERT_TRUE(document.delete_key(o.section, o.key));
                ASSERT_TRUE(delete_private_profile_key(o.section, o.key, single));
            } else {
                ASSERT_TRUE(document.delete_section(o.section));
                ASSERT_TRUE(delete_private_profile_section(o.section, single));
            }
        }
        EXPECT_EQ(read_raw(kept), read_raw(single));
        EXPECT_EQ(document.text(), read_raw(single));
        for (const op& o : c.ops)
            EXPECT_EQ(document.get_string(o.section, o.key, "-"),
                      get_private_profile_string(o.section, o.key, "-", single))
                << o.section << "/" << o.key;
        EXPECT_EQ(document.sections(), get_private_profile_sections(single));
    }
}

TEST(ProfileDocument, ReadsOnceAndSeesWritesMadePastIt) {
    testing::temp_folder folder;
    const std::string file = folder.file("karvo.ini");
    write_raw(file, "[S]\r\nA=0x10\r\nQ='quoted'\r\n");
    read_counter counter;
    profile_document document(file);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(document.get_int("s", "a", 0), 16);
        EXPECT_EQ(document.get_string("S", "Q", ""), "quoted");
    }
    EXPECT_EQ(document.keys("S"), (std::vector<std::string>{"A", "Q"}));
    ASSERT_TRUE(document.set_string("S", "B", "2"));
    EXPECT_EQ(document.get_int("S", "B", 0), 2);
    EXPECT_EQ(counter.reads_of(file), 1u); // its own write is not read back

    ASSERT_TRUE(write_private_profile_string("S", "C", "3", file));
    EXPECT_EQ(document.get_string("S", "C", ""), "3");
    ASSERT_TRUE(document.set_string("S", "A", "9"));
    EXPECT_EQ(read_raw(file), "[S]\r\nA=9\r\nQ='quoted'\r\nB=2\r\nC=3\r\n");
    EXPECT_EQ(counter.reads_of(file), 3u); // the per-call write and the document once each
}

TEST(ProfileDocument, MissingUnreadableAndUnwritableFiles) {
    testing::temp_folder folder;
    profile_document missing(folder.file("none.ini"));
    EXPECT_EQ(missing.get_string("S", "K", "fallback "), "fallback");
    EXPECT_EQ(missing.get_int("S", "K", -7), -7);
    EXPECT_TRUE(missing.sections().empty());
    EXPECT_FALSE(std::filesystem::exists(folder.file("none.ini")));
    ASSERT_TRUE(missing.set_string("S", "K", "v"));
    EXPECT_EQ(read_raw(folder.file("none.ini")), "[S]\r\nK=v\r\n");

    // A path that exists but cannot be read is never replaced.
    std::filesystem::create_directory(folder.file("folder.ini"));
    profile_document unreadable(folder.file("folder.ini"));
    EXPECT_EQ(unreadable.get_string("S", "K", "d"), "d");
    EXPECT_FALSE(unreadable.set_string("S", "K", "v"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("folder.ini")));

    // A failed write leaves the document as the file is.
    write_raw(folder.file("plain"), "x");
    profile_document unwritable(folder.file("plain/karvo.ini"));
    EXPECT_FALSE(unwritable.set_string("S", "K", "v"));
    EXPECT_EQ(unwritable.get_string("S", "K", "d"), "d");
    EXPECT_EQ(unwritable.text(), "");

    profile_document memory;
    EXPECT_FALSE(memory.set_string("S", "K", "two\nlines"));
    ASSERT_TRUE(memory.set_strings("S", {{"K", "v"}, {"L", "w"}}));
    EXPECT_EQ(memory.text(), "[S]\r\nK=v\r\nL=w\r\n");
}

} // namespace
} // namespace karvo::platform
