// SPDX-License-Identifier: GPL-3.0-or-later
// The copying of plugins/export_copy.kep: names, the plan against what the folder holds, cancelling and failing
// without half files, and a small volume that runs out of space.
#include "addons/export_copy/folder_copy.h"
#include "library/playlist_files.h"
#include "tests/support/media_fixtures.h"

#include <gtest/gtest.h>

#include <sys/mount.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace karvo {
namespace {

namespace fs = std::filesystem;
using namespace copy_export;
using testing::fixture_folder;

void write(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every name in the folder, so a leftover temporary file shows.
std::set<std::string> names_in(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(CopyNames, NumbersVariantsAndPortableCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {numbered_name(3, 9, "a.mp3"), "03 - a.mp3"},
        {numbered_name(12, 150, "a.mp3"), "012 - a.mp3"},
        {numbered_name(1, 1000, "a.mp3"), "0001 - a.mp3"},
        {variant_name("song.mp3", 1), "song.mp3"},
        {variant_name("song.mp3", 2), "song (2).mp3"},
        {variant_name("a.b.flac", 3), "a.b (3).flac"},
        {variant_name("README", 2), "README (2)"},
        {variant_name(".hidden", 2), ".hidden (2)"},
        {portable_name("AC-DC: Live? \"1\" <a>|b*\\c\x01.mp3"), "AC-DC_ Live_ _1_ _a__b__c_.mp3"},
    };
    for (const auto& [got, expected] : cases)
        EXPECT_EQ(got, expected);
}

class FolderCopy : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(source.file("one"));
        fs::create_directories(source.file("two"));
        write(source.file("one/song.mp3"), "first song");
        write(source.file("two/song.mp3"), "second song, longer");
        write(source.file("one/other.ogg"), "other");
        target = folder.file("stick");
        fs::create_directories(target);
        playlist = {source.file("one/song.mp3"), source.file("missing.mp3"), source.file("two/song.mp3"),
                    source.file("one/other.ogg")};
    }

    fixture_folder source, folder;
    std::string target;
    string_list playlist;
};

TEST_F(FolderCopy, NeverOverwritesADifferentFileAndReusesTheSameOne) {
    struct row {
        bool number_prefix;
        std::vector<std::pair<std::string, std::string>> already; // files in the folder before the copy
        string_list names;                                        // the plan's target names in order
        std::size_t copied;
    };
    const row rows[] = {
        // Two sources of the same name: the second gets " (2)".
        {false, {}, {"song.mp3", "song (2).mp3", "other.ogg"}, 3},
        // A different file of the name stays; an identical earlier copy is used again.
        {false,
         {{"song.mp3", "someone else's"}, {"other.ogg", "other"}},
         {"song (2).mp3", "song (3).mp3", "other.ogg"},
         2},
        // Copying to the same folder again copies only what is new.
        {false,
         {{"song.mp3", "first song"}, {"song (2).mp3", "second song, longer"}},
         {"song.mp3", "song (2).mp3", "other.ogg"},
         1},
        {true, {{"01 - song.mp3", "x"}}, {"01 - song (2).mp3", "02 - song.mp3", "03 - other.ogg"}, 3},
    };
    for (const row& r : rows) {
        fs::remove_all(target);
        fs::create_directories(target);
        for (const auto& [name, content] : r.already)
            write(target + "/" + name, content);
        const copy_options options{r.number_prefix, true};
        const copy_plan plan = plan_copy(playlist, target, options);
        string_list names;
        for (const planned_file& f : plan.files)
            names.push_back(f.target_name);
        EXPECT_EQ(names, r.names);
        EXPECT_EQ(plan.missing, string_list{source.file("missing.mp3")});

        const copy_result result = run_copy(plan, options, {});
        EXPECT_EQ(result.status, copy_status::done);
        EXPECT_EQ(result.copied, r.copied);
        for (const auto& [name, content] : r.already)
            EXPECT_EQ(read(target + "/" + name), content) << name;
        for (std::size_t i = 0; i < plan.files.size(); ++i)
            EXPECT_EQ(read(target + "/" + names[i]), read(plan.files[i].source)) << names[i];
        // The M3U beside the copies names them relatively, in playlist order.
        EXPECT_EQ(result.m3u, target + "/stick.m3u");
        EXPECT_EQ(read_m3u(result.m3u), r.names);
        EXPECT_EQ(names_in(target).size(), r.already.size() + r.copied + 1) << "no temporary file left";
    }
}

TEST_F(FolderCopy, CancellingOrFailingLeavesNoHalfFile) {
    struct row {
        int stop_at_call; // the progress call that answers "cancel"; 0: never
        bool source_gone; // the second file disappears after planning
        copy_status status;
        std::size_t copied;
    };
    const row rows[] = {
        {1, false, copy_status::cancelled, 0}, // before the first file
        {2, false, copy_status::cancelled, 0}, // inside the first file, after its only chunk
        {0, true, copy_status::failed, 1},
    };
    for (const row& r : rows) {
        fs::remove_all(target);
        fs::create_directories(target);
        write(source.file("two/song.mp3"), "second song, longer");
        const copy_options options{true, true};
        const copy_plan plan = plan_copy(playlist, target, options);
        if (r.source_gone)
            fs::remove(source.file("two/song.mp3"));
        int calls = 0;
        const copy_result result =
            run_copy(plan, options, [&](std::size_t, std::uint64_t) { return ++calls != r.stop_at_call; });
        EXPECT_EQ(result.status, r.status);
        EXPECT_EQ(result.copied, r.copied);
        EXPECT_EQ(names_in(target).size(), r.copied) << "only whole copies, no playlist";
        if (r.source_gone) {
            EXPECT_EQ(result.failed_file, source.file("two/song.mp3"));
        }
    }
}

// A 256 KiB volume: a plan that does not fit copies nothing; one that fits is copied whole.
TEST(FolderCopyVolume, ASmallVolumeThatRunsOutOfSpace) {
    fixture_folder source, mount_point;
    if (::mount("tmpfs", mount_point.path().c_str(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here (needs CAP_SYS_ADMIN)";
    struct unmount {
        std::string path;
        ~unmount() { ::umount2(path.c_str(), MNT_DETACH); }
    } guard{mount_point.path()};

    string_list big, small;
    for (int i = 0; i < 3; ++i) {
        big.push_back(source.file("big" + std::to_string(i) + ".mp3"));
        write(big.back(), std::string(100 * 1024, 'b'));
        small.push_back(source.file("small" + std::to_string(i) + ".mp3"));
        write(small.back(), std::string(20 * 1024, 's'));
    }
    const copy_options options{false, true};
    const copy_result refused = run_copy(plan_copy(big, mount_point.path(), options), options, {});
    EXPECT_EQ(refused.status, copy_status::no_space);
    EXPECT_TRUE(names_in(mount_point.path()).empty());

    const copy_result fitted = run_copy(plan_copy(small, mount_point.path(), options), options, {});
    EXPECT_EQ(fitted.status, copy_status::done);
    EXPECT_EQ(fitted.copied, 3u);

    // The space check passed, then the volume filled up under the copy (another writer): the failed copy is gone.
    write(mount_point.path() + "/filler", std::string(150 * 1024, 'f'));
    copy_plan plan = plan_copy({big[0]}, mount_point.path(), options);
    plan.bytes_to_copy = 0; // as if the free space had been read before the filler arrived
    const copy_result failed = run_copy(plan, options, {});
    EXPECT_EQ(failed.status, copy_status::failed);
    EXPECT_EQ(names_in(mount_point.path()).size(), 5u) << "three copies, their playlist and the filler";
}

} // namespace
} // namespace karvo
