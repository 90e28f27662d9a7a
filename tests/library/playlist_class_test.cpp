// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_class.h"

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "library/media_list.h"
#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

namespace karvo {
namespace {

using testing::read_raw;
using testing::write_raw;
namespace fs = std::filesystem;

std::string info(const std::string& path, const std::string& song = "") {
    media_fields fields;
    fields[0] = path;
    fields[1] = song;
    return make_media_info(fields);
}

// Makes every write beyond `bytes` fail, as a full disk does.
class file_size_limit {
public:
    explicit file_size_limit(rlim_t bytes) : previous_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~file_size_limit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    void (*previous_)(int);
    rlimit saved_{};
};

TEST(playlist_class, lists_spl_files_by_name_in_case_insensitive_order) {
    testing::temp_folder data;
    playlist_class store(data.path());
    const std::string folder = data.path() + "/Playlists/";
    for (const char* file : {"cream.spl", "Rock.SPL", "abba.spl", "Beatles.spl", "notes.txt", ".spl", "..spl"})
        write_raw(folder + file, "r\r\n");
    fs::create_directory(folder + "x.spl"); // a folder is never a playlist

    EXPECT_EQ(store.folder_path(), folder);
    EXPECT_EQ(store.names(), (string_list{".spl", "abba", "Beatles", "cream", "Rock"}));
    EXPECT_EQ(store.count(), 5);

    // A listed name reaches its file whatever the case of the file name.
    EXPECT_EQ(store.load("Rock"), (string_list{"r"}));
    ASSERT_TRUE(store.save("rock", {"s"}));
    EXPECT_EQ(read_raw(folder + "Rock.SPL"), "s\r\n");
    ASSERT_TRUE(store.rename("ROCK", "Rock"));
    EXPECT_EQ(store.count(), 5);
    EXPECT_EQ(read_raw(folder + "Rock.spl"), "s\r\n");
}

TEST(playlist_class, loads_lines_as_stored_and_tolerates_damage) {
    testing::temp_folder data;
    playlist_class store(data.path());
    const std::string file = data.path() + "/Playlists/mixed.spl";
    const std::string cut = "/m/b.mp3\xFF"
                            "B\xFF";                                       // without the final separators
    write_raw(file, info("/m/a.mp3") + "\r\n" + cut + "\r\n/m/c.mp3\xFF"); // last line without CR LF

    media_list list;
    load_playlist_into(store, "mixed", list);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.full_path(1), "/m/b.mp3");
    EXPECT_EQ(list.song(1), "B");
    EXPECT_EQ(list.full_path(2), "/m/c.mp3");
    EXPECT_EQ(list.cell(ListName, 2), "mixed");

    fs::remove(file);
    EXPECT_TRUE(store.load("mixed").empty()); // the reused buffer keeps nothing of the earlier load
}

TEST(playlist_class, saves_every_line_with_cr_lf_and_keeps_the_old_file_when_writing_fails) {
    testing::temp_folder data;
    playlist_class store(data.path());
    media_list list;
    list.append(info("/m/a.mp3", "A"), "old");
    list.append(info("/m/b.mp3", "B\nC"), "old"); // a tag holding a line break must not split the entry
    std::string second = list.serialise_row(1);
    second.replace(second.find('\n'), 1, " ");

    ASSERT_TRUE(save_media_list_as_playlist(store, "Party", list));
    EXPECT_EQ(read_raw(data.path() + "/Playlists/Party.spl"), list.serialise_row(0) + "\r\n" + second + "\r\n");
    EXPECT_EQ(list.cell(ListName, 1), "Party");

    for (int i = 0; i < 50; ++i)
        list.append(info("/m/new" + std::to_string(i) + ".mp3"), "new");
    bool saved = true;
    {
        file_size_limit full_disk(64);
        saved = save_media_list_as_playlist(store, "Party", list);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(store.load("Party").size(), 2u);
    EXPECT_EQ(list.cell(ListName, 2), "new");         // not renamed after a failed save
    EXPECT_EQ(store.names(), (string_list{"Party"})); // no temporary file left behind

    ASSERT_TRUE(store.save("Empty", {}));
    EXPECT_EQ(fs::file_size(data.path() + "/Playlists/Empty.spl"), 0u);
}

TEST(playlist_class, rename_and_remove_never_touch_another_playlist) {
    testing::temp_folder data;
    playlist_class store(data.path());
    ASSERT_TRUE(store.save("a", {"1"}));
    ASSERT_TRUE(store.save("b", {"2"}));

    EXPECT_FALSE(store.rename("a", "b")); // target exists
    EXPECT_EQ(store.load("b"), (string_list{"2"}));
    EXPECT_FALSE(store.rename("missing", "c"));
    EXPECT_TRUE(store.rename("a", "c"));
    EXPECT_TRUE(store.remove("b"));
    EXPECT_FALSE(store.remove("b"));
    EXPECT_EQ(store.names(), (string_list{"c"}));
    EXPECT_EQ(store.load("c"), (string_list{"1"}));

    for (const std::string& name : string_list{"", ".", "..", "../evil", "a/b", "a\nb", std::string("a\0b", 3)}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(store.save(name, {"x"}));
        EXPECT_FALSE(store.rename("c", name));
        EXPECT_FALSE(store.remove(name));
    }
    EXPECT_EQ(store.names(), (string_list{"c"}));
    EXPECT_FALSE(fs::exists(data.path() + "/evil.spl"));
}

TEST(playlist_class, reports_a_folder_that_cannot_be_made) {
    testing::temp_folder data;
    write_raw(data.file("Playlists"), "a file in the way");
    std::vector<std::string> reports;
    playlist_class store(data.path(), [&](const std::string& text, const std::string& caption) {
        reports.push_back(caption + ": " + text);
    });
    EXPECT_FALSE(store.folder_ok());
    EXPECT_EQ(reports, (std::vector<std::string>{"Karvo: Karvo was NOT able to create the Playlists directory."}));

    fs::remove(data.file("Playlists"));
    store.folder_path(); // asked again: the folder is made
    EXPECT_TRUE(store.folder_ok());
    EXPECT_EQ(reports.size(), 1u);
}

} // namespace
} // namespace karvo
