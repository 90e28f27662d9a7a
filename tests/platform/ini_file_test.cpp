// SPDX-License-Identifier: GPL-3.0-or-later
// The profile functions against the rules of the Windows functions they stand in for.
#include "platform/ini_file.h"

#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

#include <csignal>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace karvo::platform {
namespace {

using testing::read_raw;
using testing::write_raw;

struct read_case {
    const char* name;
    std::string content;
    std::string section;
    std::string key;
    std::string expected;
};

TEST(IniRead, FollowsTheProfileRules) {
    const std::vector<read_case> cases = {
        {"plain", "[Settings]\r\nLastDir=/music\r\n", "Settings", "LastDir", "/music"},
        {"section and key case", "[settings]\r\nlastdir=x\r\n", "SETTINGS", "LASTDIR", "x"},
        {"non-ASCII case", "[Été]\r\nÉcran=1\r\n", "été", "écran", "1"},
        {"blanks around key and value", "[S]\r\n  Key \t=   two words  \r\n", "S", "Key", "two words"},
        {"blanks around the asked names", "[S]\r\nKey=v\r\n", " S ", " Key ", "v"},
        {"indented header", "  [S]  \r\nK=v\r\n", "S", "K", "v"},
        {"text after the header", "[S] ; note\r\nK=v\r\n", "S", "K", "v"},
        {"double quotes", "[S]\r\nK=\"quoted \"\r\n", "S", "K", "quoted "},
        {"single quotes", "[S]\r\nK='q'\r\n", "S", "K", "q"},
        {"mismatched quotes stay", "[S]\r\nK=\"abc'\r\n", "S", "K", "\"abc'"},
        {"lone quote stays", "[S]\r\nK=\"\r\n", "S", "K", "\""},
        {"only the outer pair", "[S]\r\nK=\"a\" b \"c\"\r\n", "S", "K", "a\" b \"c"},
        {"empty quotes", "[S]\r\nK=\"\"\r\n", "S", "K", ""},
        {"empty value is not the default", "[S]\r\nK=\r\n", "S", "K", ""},
        {"value holding '='", "[S]\r\nK=a=b\r\n", "S", "K", "a=b"},
        {"first duplicate key", "[S]\r\nK=1\r\nK=2\r\n", "S", "K", "1"},
        {"first duplicate section", "[S]\r\nK=1\r\n[s]\r\nK=2\r\n", "S", "K", "1"},
        {"second duplicate section unseen", "[S]\r\nA=1\r\n[S]\r\nK=2\r\n", "S", "K", "default"},
        {"line without '=' is no key", "[S]\r\nK\r\nK=2\r\n", "S", "K", "2"},
        {"comment is no key", "[S]\r\n;K=c\r\nK=real\r\n", "S", "K", "real"},
        {"commented key only", "[S]\r\n; K=c\r\n", "S", ";K", "default"},
        {"key before any section", "K=orphan\r\n[S]\r\n", "S", "K", "default"},
        {"key of another section", "[A]\r\nK=a\r\n[B]\r\n", "B", "K", "default"},
        {"missing section", "[S]\r\nK=v\r\n", "T", "K", "default"},
        {"missing key", "[S]\r\nK=v\r\n", "S", "X", "default"},
        {"empty key name", "[S]\r\n=v\r\n", "S", "", "default"},
        {"LF line ends", "[S]\nA=1\nK=lf\n", "S", "K", "lf"},
        {"CR line ends", "[S]\rA=1\rK=cr\r", "S", "K", "cr"},
        {"UTF-8 mark", "\xEF\xBB\xBF[S]\r\nK=bom\r\n", "S", "K", "bom"},
        {"last line without end", "[S]\r\nK=end", "S", "K", "end"},
        {"bracket inside the name", "[a]b]\r\nK=v\r\n", "a]b", "K", "v"},
        {"blanks inside the header", "[ s ]\r\nK=v\r\n", "S", "K", "v"},
        {"inner blanks of the header kept", "[spaced name \t]\r\nK=v\r\n", "Spaced Name", "K", "v"},
        {"inner blanks must match", "[spaced  name]\r\nK=v\r\n", "spaced name", "K", "default"},
        {"blank header is no section", "[ ]\r\nK=v\r\n", "", "K", "default"},
    };
    testing::temp_folder folder;
    const std::string file = folder.file("test.ini");
    for (const read_case& c : cases) {
        write_raw(file, c.content);
        EXPECT_EQ(get_private_profile_string(c.section, c.key, "default", file), c.expected) << c.name;
    }
}

TEST(IniRead, DefaultsWhenTheFileIsMissingAndTrimsTheDefault) {
    testing::temp_folder folder;
    const std::string missing = folder.file("none.ini");
    EXPECT_EQ(get_private_profile_string("S", "K", "fallback", missing), "fallback");
    EXPECT_EQ(get_private_profile_string("S", "K", "one two  ", missing), "one two");
    EXPECT_EQ(get_private_profile_string("S", "K", "  lead", missing), "  lead");
    EXPECT_EQ(get_private_profile_int("S", "K", -7, missing), -7);
    EXPECT_TRUE(get_private_profile_keys("S", missing).empty());
    EXPECT_TRUE(get_private_profile_sections(missing).empty());
    EXPECT_FALSE(std::filesystem::exists(missing)); // reading never creates the file
}

TEST(IniRead, IntegersParseAsTheSystemDoes) {
    struct int_case {
        const char* value; // nullptr: key missing
        int default_value;
        int expected;
    };
    const std::vector<int_case> cases = {
        {"42", 5, 42},         {"  42", 5, 42},
        {"-17", 5, -17},       {"+1", -1, 1},
        {"0x1F", 5, 31},       {"-0x10", 5, -16},
        {"0X1F", 5, 0},        {"0b101", 5, 5},
        {"0o17", 5, 15},       {"12abc", 5, 12},
        {"1.9", 5, 1},         {"abc", 5, 0},
        {"B4294967297", 1, 0}, {"42A94967297", 1, 42},
        {"4294967296", 1, 0},  {"4294967297", -1, 1},
        {"4294967295", 1, -1}, {"-4294967297", 1, -1},
        {"\"7\"", 5, 7},       {"", 5, 5},
        {"- 3", 5, 0},         {nullptr, 70, 70},
        {nullptr, -1, -1},     {"000000000000000000000000000001", 5, 0}, // only the first 29 characters are read
    };
    testing::temp_folder folder;
    const std::string file = folder.file("int.ini");
    for (const int_case& c : cases) {
        write_raw(file, c.value ? "[S]\r\nK=" + std::string(c.value) + "\r\n" : "[S]\r\nOther=1\r\n");
        EXPECT_EQ(get_private_profile_int("S", "K", c.default_value, file), c.expected)
            << (c.value ? c.value : "(missing)");
    }
}

TEST(IniRead, ListsKeysAndSectionsInFileOrder) {
    testing::temp_folder folder;
    const std::string file = folder.file("list.ini");
    write_raw(file, "top=1\r\n[one]\r\nname1=a\r\nname2=\r\nname3\r\n; c=1\r\nname4=d\r\n[two]\r\n[one]\r\nx=1\r\n");
    EXPECT_EQ(get_private_profile_keys("ONE", file), (std::vector<std::string>{"name1", "name2", "name4"}));
    EXPECT_EQ(get_private_profile_sections(file), (std::vector<std::string>{"one", "two", "one"}));
    write_raw(file, "[ one ]\r\na=1\r\n[two words  ]\r\n");
    EXPECT_EQ(get_private_profile_keys("one", file), (std::vector<std::string>{"a"}));
    EXPECT_EQ(get_private_profile_sections(file), (std::vector<std::string>{"one", "two words"}));

    write_raw(file, "[S]\r\n a = 'q' \r\n=x\r\nB=\"2\r\nA=dup\r\nc\r\n[T]\r\nd=4\r\n");
    using pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(get_private_profile_section("s", file), (pairs{{"a", "q"}, {"B", "\"2"}}));
    EXPECT_TRUE(get_private_profile_section("U", file).empty());
}

// Several keys in one write end as one single write per key in order, whatever the keys and the file hold.
TEST(IniWrite, SeveralKeysEqualOneWritePerKey) {
    using pairs = std::vector<std::pair<std::string, std::string>>;
    const struct {
        const char* name;
        std::string before;
        pairs writes;
    } cases[] = {
        {"no file", "-", {{"A", "1"}, {"B", "2"}}},
        {"new, changed and repeated keys",
         "; c\n[s]\nb=old\nB=dup\n\n[T]\rx=1",
         {{"N1", "1"}, {" b ", " new"}, {"n1", "again"}, {"N2", "2"}, {"b", "new"}}},
        {"section without keys, last line unended", "[S]", {{"K", "v"}, {"L", "w"}}},
        {"nothing changes", "[S]\r\nK = v\n", {{"k", "v"}}},
    };
    testing::temp_folder folder;
    const std::string bulk = folder.file("bulk.ini");
    const std::string single = folder.file("single.ini");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(bulk);
        std::filesystem::remove(single);
        if (c.before != "-") {
            write_raw(bulk, c.before);
            write_raw(single, c.before);
        }
        ASSERT_TRUE(write_private_profile_strings("S", c.writes, bulk));
        for (const auto& [key, value] : c.writes)
            ASSERT_TRUE(write_private_profile_string("S", key, value, single));
        EXPECT_EQ(read_raw(bulk), read_raw(single));
    }
    // One refused pair writes nothing.
    write_raw(bulk, "[S]\r\nA=1\r\n");
    EXPECT_FALSE(write_private_profile_strings("S", {{"A", "2"}, {"B", "two\nlines"}}, bulk));
    EXPECT_EQ(read_raw(bulk), "[S]\r\nA=1\r\n");
}

struct write_case {
    const char* name;
    std::string before; // "-" for no file
    std::function<bool(const std::string&)> change;
    std::string after;
};

TEST(IniWrite, KeepsEveryOtherLineAndPlacesNewEntries) {
    const auto put = [](std::string s, std::string k, std::string v) {
        return [=](const std::string& file) { return write_private_profile_string(s, k, v, file); };
    };
    const std::vector<write_case> cases = {
        {"new file", "-", put("App", "key", "string"), "[App]\r\nkey=string\r\n"},
        {"empty value", "-", put("App", "key", ""), "[App]\r\nkey=\r\n"},
        {"replace keeps the rest byte for byte", "; top\r\n[S]\r\nA = 1\r\nK=old\r\n\r\n[T]\r\nX=1\r\n",
         put("S", "k", "new"), "; top\r\n[S]\r\nA = 1\r\nK=new\r\n\r\n[T]\r\nX=1\r\n"},
        {"replace keeps the file's spelling", "[Settings]\r\nLastDir=a\r\n", put("SETTINGS", "lastdir", "b"),
         "[Settings]\r\nLastDir=b\r\n"},
        {"first duplicate replaced", "[S]\r\nK=1\r\nK=2\r\n", put("S", "K", "3"), "[S]\r\nK=3\r\nK=2\r\n"},
        {"new key after the last key line", "[S]\r\nA=1\r\n; note\r\n\r\n[T]\r\nX=1\r\n", put("S", "B", "2"),
         "[S]\r\nA=1\r\nB=2\r\n; note\r\n\r\n[T]\r\nX=1\r\n"},
        {"new key in a section without keys", "[S]\r\n\r\n[T]\r\nX=1\r\n", put("S", "K", "v"),
         "[S]\r\nK=v\r\n\r\n[T]\r\nX=1\r\n"},
        {"new section at the end", "[App1]\r\nkey1=string1\r\n[App2]\r\nkey4=string4\r\n", put("App3", "key5", "s5"),
         "[App1]\r\nkey1=string1\r\n[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=s5\r\n"},
        {"last line without end", "[S]\nA=1", put("T", "B", "2"), "[S]\nA=1\r\n[T]\r\nB=2\r\n"},
        {"LF lines left as they are", "[S]\nA=1\nB=2\n", put("S", "A", "9"), "[S]\nA=9\r\nB=2\n"},
        {"UTF-8 mark kept", "\xEF\xBB\xBF[S]\r\nA=1\r\n", put("S", "A", "2"), "\xEF\xBB\xBF[S]\r\nA=2\r\n"},
        {"leading blanks of the value dropped", "-", put("S", "K", "  v "), "[S]\r\nK=v \r\n"},
        {"same value leaves the line alone", "[S]\r\nK = v\r\n", put("S", "K", "v"), "[S]\r\nK = v\r\n"},
        {"text before the first section kept", "junk line\r\n[S]\r\n", put("S", "K", "v"),
         "junk line\r\n[S]\r\nK=v\r\n"},
        {"delete key", "[App1]\r\nkey1=s1\r\nkey2=s2\r\n[App2]\r\n",
         [](const std::string& f) { return delete_private_profile_key("App1", "KEY2", f); },
         "[App1]\r\nkey1=s1\r\n[App2]\r\n"},
        {"delete the last key leaves the section", "[App3]\r\nkey5=s5\r\n",
         [](const std::string& f) { return delete_private_profile_key("App3", "key5", f); }, "[App3]\r\n"},
        {"delete a missing key changes nothing", "[S]\nA=1\n",
         [](const std::string& f) { return delete_private_profile_key("S", "B", f); }, "[S]\nA=1\n"},
        {"header with blanks found for a new key", "[ S ]\r\nA=1\r\n[T]\r\n", put("s", "B", "2"),
         "[ S ]\r\nA=1\r\nB=2\r\n[T]\r\n"},
        {"header with blanks found for a changed key", "[  s]\r\nA=1\r\n", put("S", "A", "2"), "[  s]\r\nA=2\r\n"},
        {"delete section with blanks in its header", "[ App1 ]\r\nk=1\r\n[App2]\r\n",
         [](const std::string& f) { return delete_private_profile_section("app1", f); }, "[App2]\r\n"},
        {"delete section with its comments", "[App1]\r\nk=1\r\n; c\r\n[App2]\r\nk=2\r\n",
         [](const std::string& f) { return delete_private_profile_section("app1", f); }, "[App2]\r\nk=2\r\n"},
    };
    testing::temp_folder folder;
    const std::string file = folder.file("write.ini");
    for (const write_case& c : cases) {
        std::filesystem::remove(file);
        if (c.before != "-")
            write_raw(file, c.before);
        EXPECT_TRUE(c.change(file)) << c.name;
        EXPECT_EQ(read_raw(file), c.after) << c.name;
    }
}

TEST(IniWrite, WrittenValuesReadBack) {
    testing::temp_folder folder;
    const std::string file = folder.file("round.ini");
    ASSERT_TRUE(write_private_profile_string("playlist", "File1", "/music/a b.mp3", file));
    ASSERT_TRUE(write_private_profile_string("playlist", "NumberOfEntries", "1", file));
    ASSERT_TRUE(write_private_profile_string("Settings", "Disc", "4294967296", file));
    EXPECT_EQ(get_private_profile_string("PLAYLIST", "FILE1", "", file), "/music/a b.mp3");
    EXPECT_EQ(get_private_profile_int("playlist", "numberofentries", 0, file), 1);
    EXPECT_EQ(read_raw(file),
              "[playlist]\r\nFile1=/music/a b.mp3\r\nNumberOfEntries=1\r\n[Settings]\r\nDisc=4294967296\r\n");
}

TEST(IniWrite, RefusesWhatWouldNotReadBackAndLeavesTheFile) {
    testing::temp_folder folder;
    const std::string file = folder.file("refuse.ini");
    const std::string before = "[S]\r\nK=old\r\n";
    write_raw(file, before);
    EXPECT_FALSE(write_private_profile_string("S", "K", "line\r\nInjected=1", file));
    EXPECT_FALSE(write_private_profile_string("S", "K", "cr\ronly", file));
    EXPECT_FALSE(write_private_profile_string("S", "K", "lf\n", file));
    EXPECT_FALSE(write_private_profile_string("S", "a=b", "v", file));
    EXPECT_FALSE(write_private_profile_string("S", "", "v", file));
    EXPECT_FALSE(write_private_profile_string("S", ";K", "v", file));
    EXPECT_FALSE(write_private_profile_string("", "K", "v", file));
    EXPECT_FALSE(write_private_profile_string("S\n[T]", "K", "v", file));
    EXPECT_EQ(read_raw(file), before);
}

TEST(IniWrite, FailedWriteKeepsTheOldFile) {
    testing::temp_folder folder;
    const std::string file = folder.file("keep.ini");
    const std::string before = "[S]\r\nK=old\r\n";
    write_raw(file, before);

    // A file-size limit makes the write of the new content fail even for root, like a full disk would.
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old_limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    rlimit small = old_limit;
    small.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = write_private_profile_string("S", "K", std::string(200, 'x'), file);
    setrlimit(RLIMIT_FSIZE, &old_limit);
    std::signal(SIGXFSZ, old_handler);

    EXPECT_FALSE(written);
    EXPECT_EQ(read_raw(file), before);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"keep.ini"}); // no temporary file left behind

    // A folder that cannot exist: the parent is a file.
    write_raw(folder.file("plain"), "x");
    EXPECT_FALSE(write_private_profile_string("S", "K", "v", folder.file("plain/karvo.ini")));
}

} // namespace
} // namespace karvo::platform
