// SPDX-License-Identifier: GPL-3.0-or-later
// Wildcards, attributes and the file operations with the guarantees the stores rely on.
#include <fstream>

#include "platform/file_system.h"
#include "platform/paths.h"

#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace karvo::platform {
namespace {

using testing::read_raw;
using testing::write_raw;

TEST(Wildcard, MatchesWithTheWindowsRules) {
    struct wildcard_case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const std::vector<wildcard_case> cases = {
        {"*.spl", "Party.spl", true},
        {"*.spl", "PARTY.SPL", true},
        {"*.SPL", "party.Spl", true},
        {"*.spl", "a.spl.bak", false},
        {"*.spl", "spl", false},
        {"*.spl", "a.splx", false},
        {"*.*", "noextension", true},
        {"*.*", ".hidden", true},
        {"*.*", "a.b.c", true},
        {"*", "anything", true},
        {"*.kep", "export.kep", true},
        {"*.vmc", "My CD.vmc", true},
        {"?.mp3", "a.mp3", true},
        {"?.mp3", "ab.mp3", false},
        {"?.mp3", ".mp3", false},
        {"a*b*c", "aXXbYYc", true},
        {"a*b*c", "aXXbYY", false},
        {"*a*", "bab", true},
        {"*.été", "x.ÉTÉ", true},
        {"?", "é", true},
        {"??", "é", false},
        {"name.*", "name", true},
        {"name.*", "name.txt", true},
        {"name.*", "names", false},
        {"*.", "noext", true},
        {"*.", "a.b", false},
        {"", "a", false},
        {"exact.ini", "EXACT.INI", true},
        {"exact.ini", "exact.in", false},
    };
    for (const wildcard_case& c : cases)
        EXPECT_EQ(wildcard_match(c.pattern, c.name), c.matches) << c.pattern << " ~ " << c.name;
}

TEST(FindFiles, ReportsAttributesAsTheProgramTestsThem) {
    testing::temp_folder folder;
    const std::string root = folder.path() + "/";
    write_raw(root + "song.mp3", "12345");
    write_raw(root + "locked.spl", "x");
    ::chmod((root + "locked.spl").c_str(), 0444);
    write_raw(root + ".hidden.spl", "x");
    ::mkdir((root + "Folder").c_str(), 0777);
    ::mkdir((root + "readonly folder").c_str(), 0555);
    ::mkdir((root + ".config").c_str(), 0777);
    ::symlink((root + "Folder").c_str(), (root + "link to folder").c_str());
    ::symlink((root + "gone").c_str(), (root + "dangling").c_str());

    std::map<std::string, std::uint32_t> found;
    for (const find_entry& entry : find_files(folder.path(), "*.*"))
        found[entry.name] = entry.attributes;
    const std::map<std::string, std::uint32_t> expected = {
        {"song.mp3", attr_archive},
        {"locked.spl", attr_archive | attr_readonly},
        {".hidden.spl", attr_archive | attr_hidden},
        {"Folder", attr_directory},
        {"readonly folder", attr_directory},
        {".config", attr_directory | attr_hidden},
        {"link to folder", attr_directory},
        {"dangling", attr_archive},
    };
    EXPECT_EQ(found, expected);

    EXPECT_EQ(file_attributes(root + "Folder/"), attr_directory);
    EXPECT_EQ(file_attributes(root + "locked.spl"), attr_archive | attr_readonly);
    EXPECT_EQ(file_attributes(root + "missing"), std::nullopt);

    const auto spl = find_files(root, "*.SPL");
    std::vector<std::string> names;
    for (const find_entry& entry : spl)
        names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".hidden.spl", "locked.spl"}));
    const auto song = find_files(root, "song.mp3");
    ASSERT_EQ(song.size(), 1u);
    EXPECT_EQ(song[0].size, 5u);

    EXPECT_TRUE(find_files(root + "missing", "*").empty());
    EXPECT_TRUE(find_files(root + "song.mp3", "*").empty());
}

TEST(FileOperations, RenameNeverReplacesAndOtherCallsReportTheTruth) {
    testing::temp_folder folder;
    const std::string a = folder.file("a.spl");
    const std::string b = folder.file("b.spl");
    write_raw(a, "first");
    write_raw(b, "second");
    EXPECT_FALSE(rename_file(a, b));
    EXPECT_EQ(read_raw(a), "first");
    EXPECT_EQ(read_raw(b), "second");
    EXPECT_TRUE(rename_file(a, folder.file("c.spl")));
    EXPECT_FALSE(file_exists(a));
    EXPECT_EQ(read_raw(folder.file("c.spl")), "first");
    EXPECT_FALSE(rename_file(folder.file("missing"), folder.file("d.spl")));

    EXPECT_TRUE(create_directory(folder.file("Playlists")));
    EXPECT_TRUE(create_directory(folder.file("Playlists"))); // already there
    EXPECT_FALSE(create_directory(folder.file("no/such/parent")));
    EXPECT_TRUE(directory_exists(folder.file("Playlists")));
    EXPECT_FALSE(file_exists(folder.file("Playlists")));
    EXPECT_TRUE(path_exists(folder.file("Playlists")));
    EXPECT_FALSE(delete_file(folder.file("Playlists"))); // a folder is no file
    EXPECT_TRUE(delete_file(b));
    EXPECT_FALSE(delete_file(b));
    EXPECT_EQ(read_file(b), std::nullopt);
    EXPECT_EQ(read_file(folder.file("Playlists")), std::nullopt);
}

TEST(FileOperations, ManyPathsAtOnceAgreeWithFileExists) {
    testing::temp_folder folder;
    // "big" holds enough of the paths to be read as a listing, "small" is looked up name by name.
    for (const char* sub : {"big", "small"}) {
        std::filesystem::create_directory(folder.file(sub));
        for (int k = 0; k < 10; ++k)
            write_raw(folder.file(std::string(sub) + "/f" + std::to_string(k) + ".mp3"), "x");
        std::filesystem::create_directory(folder.file(std::string(sub) + "/dir.mp3"));
        std::filesystem::create_symlink(folder.file(std::string(sub) + "/f0.mp3"),
                                        folder.file(std::string(sub) + "/link.mp3"));
        std::filesystem::create_symlink(folder.file("nowhere"), folder.file(std::string(sub) + "/dead.mp3"));
    }
    std::vector<std::string> paths;
    for (int k = 0; k < 10; ++k)
        paths.push_back(folder.file("big/f" + std::to_string(k) + ".mp3"));
    for (const char* sub : {"big", "small"})
        for (const char* name : {"f1.mp3", "gone.mp3", "dir.mp3", "link.mp3", "dead.mp3", "", ".", "../big/f2.mp3"})
            paths.push_back(folder.file(std::string(sub) + "/" + name));
    paths.push_back("relative.mp3");
    paths.push_back(folder.file("missing/f1.mp3"));

    const std::vector<std::string_view> views(paths.begin(), paths.end());
    const std::vector<char> present = files_exist(views);
    ASSERT_EQ(present.size(), paths.size());
    for (std::size_t k = 0; k < paths.size(); ++k)
        EXPECT_EQ(present[k] != 0, file_exists(paths[k])) << paths[k];
    EXPECT_EQ(std::count(present.begin(), present.end(), 1), 10 + 2 * 3);
}

TEST(FileOperations, AtomicWriteReplacesWholeFilesAndKeepsTheirMode) {
    testing::temp_folder folder;
    const std::string file = folder.file("list.m3u");
    ASSERT_TRUE(write_file_atomic(file, std::string("a\0b", 3)));
    EXPECT_EQ(read_file(file), std::string("a\0b", 3));
    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(write_file_atomic(file, "new"));
    EXPECT_EQ(read_raw(file), "new");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    // Through a link the target is replaced and the link stays a link.
    const std::string link = folder.file("link.m3u");
    ::symlink(file.c_str(), link.c_str());
    ASSERT_TRUE(write_file_atomic(link, "via link"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(read_raw(file), "via link");

    write_raw(folder.file("plain"), "x");
    EXPECT_FALSE(write_file_atomic(folder.file("plain/inside"), "y"));
    EXPECT_FALSE(write_file_atomic(folder.file("Playlists/"), "y"));
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
        ++count;
    EXPECT_EQ(count, 3u); // list.m3u, link.m3u, plain: no temporary left
}

// What interrupted saves leave goes at the next start, and only that: a temporary of a writer still running, one
// written since the start, or a name that is not a temporary of ours stays.
TEST(FileOperations, StartUpRemovesOnlyStaleTemporaries) {
    testing::temp_folder tmp;
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0); // a writer that is gone
    const std::string gone = std::to_string(child), alive = std::to_string(::getpid());
    const auto started = std::chrono::system_clock::now();
    struct row {
        std::string name;
        int age_hours; // negative: written after the start
        bool removed;
    };
    const row table[] = {
        {".Big.spl.tmp-" + gone + "-3", 1, true},
        {".karvo.ini.tmp-" + gone + "-0", 1, true},
        {".Big.spl.tmp-" + gone + "-4", -1, false},
        {".Big.spl.tmp-" + alive + "-5", 1, false},
        {".Big.spl.tmp-" + alive + "-6", 30, true},
        {"Big.spl.tmp-" + gone + "-7", 1, false},
        {".Big.spl.tmp-" + gone + "x-8", 1, false},
        {".Big.spl.tmp-" + gone, 1, false},
        {"Big.spl", 30, false},
    };
    for (const row& r : table) {
        write_raw(tmp.file(r.name), "x");
        const auto when = std::chrono::system_clock::to_time_t(started - std::chrono::hours(r.age_hours));
        const timeval times[2] = {{when, 0}, {when, 0}};
        ASSERT_EQ(::utimes(tmp.file(r.name).c_str(), times), 0);
    }
    EXPECT_EQ(remove_stale_temporaries(tmp.path(), started), 3);
    for (const row& r : table)
        EXPECT_EQ(file_exists(tmp.file(r.name)), !r.removed) << r.name;
    const auto start = process_start_time();
    EXPECT_LE(start, std::chrono::system_clock::now());
    EXPECT_GT(start, std::chrono::system_clock::now() - std::chrono::hours(1));
}

TEST(Paths, SplitAndJoinWithSlashes) {
    EXPECT_EQ(file_name_of("/music/Rock/song one.mp3"), "song one.mp3");
    EXPECT_EQ(folder_of("/music/Rock/song one.mp3"), "/music/Rock/");
    EXPECT_EQ(file_name_of("bare"), "bare");
    EXPECT_EQ(folder_of("bare"), "");
    EXPECT_EQ(file_name_of("/music/"), "");
    EXPECT_EQ(with_trailing_slash("/opt/karvo"), "/opt/karvo/");
    EXPECT_EQ(with_trailing_slash("/opt/karvo/"), "/opt/karvo/");
    EXPECT_EQ(with_trailing_slash(""), "/");
}

TEST(Paths, ProgramAndDataFolders) {
    const std::string program = program_folder();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(program.back(), '/');
    EXPECT_TRUE(file_exists(program + "test_platform"));

    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::string saved_value = saved ? saved : "";
    ::setenv("XDG_DATA_HOME", "/xdg/data", 1);
    // A writable program folder (a build tree) is no data folder unless it is marked portable.
    testing::temp_folder folder;
    EXPECT_EQ(data_folder_for(folder.path()), "/xdg/data/karvo-media/");
    std::ofstream(folder.file("portable")).flush();
    EXPECT_EQ(data_folder_for(folder.path()), folder.path() + "/");
    EXPECT_EQ(data_folder_for("/no/such/program/"), "/xdg/data/karvo-media/");
    ::setenv("XDG_DATA_HOME", "relative/ignored", 1);
    const std::string fallback = data_folder_for("/no/such/program/");
    EXPECT_TRUE(fallback.ends_with("/.local/share/karvo-media/")) << fallback;
    if (saved)
        ::setenv("XDG_DATA_HOME", saved_value.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
}

} // namespace
} // namespace karvo::platform
