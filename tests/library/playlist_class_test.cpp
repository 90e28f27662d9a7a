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

const std::string ff = "\xFF";

std::string info(const std::string& path, const std::string& song = "")
{
    media_fields fields;
    fields[0] = path;
    fields[1] = song;
    return make_media_info(fields);
}

// Makes every write beyond `bytes` fail, as a full disk does.
class file_size_limit {
public:
    explicit file_size_limit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~file_size_limit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

TEST(playlist_class, lists_spl_files_by_name_in_case_insensitive_order)
{
    testing::temp_folder data;
    playlist_class store(data.path());
    const std::string folder = data.path() + "/Playlists/";
    for (const char* file : {"cream.spl", "Rock.SPL", "abba.spl", "Beatles.spl", "notes.txt", ".spl", "..spl"})
        write_raw(folder + file, "");
    fs::create_directory(folder + "x.spl");  // a folder is never a playlist

    EXPECT_EQ(store.folder_path(), folder);
    EXPECT_EQ(store.names(), (string_list{".spl", "abba", "Beatles", "cream", "Rock"}));
    EXPECT_EQ(store.count(), 5);

    // A listed name reaches its file whatever the case of the file name.
    write_raw(folder + "Rock.SPL", "r\r\n");
    EXPECT_TRUE(store.exists("Rock"));
    EXPECT_EQ(store.load("Rock"), (string_list{"r"}));
    ASSERT_TRUE(store.save("rock", {"s"}));
    EXPECT_EQ(store.count(), 5);
    EXPECT_EQ(read_raw(folder + "Rock.SPL"), "s\r\n");
    ASSERT_TRUE(store.rename("ROCK", "Rock"));
    EXPECT_EQ(read_raw(folder + "Rock.spl"), "s\r\n");
}

TEST(playlist_class, loads_lines_as_stored_and_tolerates_damage)
{
    testing::temp_folder data;
    playlist_class store(data.path());
    const std::string folder = data.path() + "/Playlists/";
    const std::string full = info("/m/a.mp3", "A");
    const std::string cut = "/m/b.mp3" + ff + "B" + ff;  // no final separators
    write_raw(folder + "mixed.spl", full + "\r\n" + cut + "\r\n" + "/m/c.mp3");  // last line without CR LF

    EXPECT_EQ(store.load("mixed"), (string_list{full, cut, "/m/c.mp3"}));

    media_list list;
    load_playlist_into(store, "mixed", list);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.full_path(1), "/m/b.mp3");
    EXPECT_EQ(list.song(1), "B");
    EXPECT_EQ(list.cell(ListName, 2), "mixed");

    fs::remove(folder + "mixed.spl");
    EXPECT_TRUE(store.load("mixed").empty());  // the buffer is reused: nothing of the earlier load remains
    EXPECT_TRUE(store.load("never saved").empty());
}

TEST(playlist_class, saves_every_line_with_cr_lf_and_sets_the_list_name)
{
    testing::temp_folder data;
    playlist_class store(data.path());
    media_list list;
    list.append(info("/m/a.mp3", "A"), "old");
    list.append(info("/m/b.mp3", "B\nC"), "old");  // a tag holding a line break

    std::string second = list.serialise_row(1);
    second.replace(second.find('\n'), 1, " ");
    const std::string expected = list.serialise_row(0) + "\r\n" + second + "\r\n";

    ASSERT_TRUE(save_media_list_as_playlist(store, "Party", list));
    EXPECT_EQ(read_raw(data.path() + "/Playlists/Party.spl"), expected);
    EXPECT_EQ(list.cell(ListName, 0), "Party");
    EXPECT_EQ(list.cell(ListName, 1), "Party");
    EXPECT_EQ(store.load("Party").size(), 2u);  // the break did not split the entry

    ASSERT_TRUE(store.save("Empty", {}));
    EXPECT_TRUE(fs::exists(data.path() + "/Playlists/Empty.spl"));
    EXPECT_EQ(fs::file_size(data.path() + "/Playlists/Empty.spl"), 0u);
}

TEST(playlist_class, failed_save_keeps_the_previous_playlist)
{
    testing::temp_folder data;
    playlist_class store(data.path());
    const string_list old_lines = {info("/m/old.mp3")};
    ASSERT_TRUE(store.save("Keep", old_lines));
    media_list list;
    for (int i = 0; i < 50; ++i)
        list.append(info("/m/new" + std::to_string(i) + ".mp3"), "Keep");

    bool saved = true;
    {
        file_size_limit full_disk(64);
        saved = save_media_list_as_playlist(store, "Keep", list);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(store.load("Keep"), old_lines);
    EXPECT_EQ(list.cell(ListName, 0), "Keep");
    EXPECT_EQ(store.names(), (string_list{"Keep"}));  // no temporary file left behind as a playlist
}

TEST(playlist_class, rename_and_remove_never_touch_another_playlist)
{
    testing::temp_folder data;
    playlist_class store(data.path());
    ASSERT_TRUE(store.save("a", {"1"}));
    ASSERT_TRUE(store.save("b", {"2"}));

    EXPECT_FALSE(store.rename("a", "b"));  // target exists
    EXPECT_EQ(store.load("b"), (string_list{"2"}));
    EXPECT_FALSE(store.rename("missing", "c"));
    EXPECT_TRUE(store.rename("a", "c"));
    EXPECT_EQ(store.names(), (string_list{"b", "c"}));
    EXPECT_EQ(store.load("c"), (string_list{"1"}));

    EXPECT_TRUE(store.remove("c"));
    EXPECT_FALSE(store.remove("c"));
    EXPECT_EQ(store.names(), (string_list{"b"}));
}

TEST(playlist_class, names_that_would_leave_the_folder_are_refused)
{
    testing::temp_folder data;
    playlist_class store(data.path());
    ASSERT_TRUE(store.save("ok", {"1"}));
    for (const std::string& name : string_list{"", ".", "..", "../evil", "a/b", "a\nb", std::string("a\0b", 3)}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(store.save(name, {"x"}));
        EXPECT_FALSE(store.exists(name));
        EXPECT_TRUE(store.load(name).empty());
        EXPECT_FALSE(store.rename("ok", name));
        EXPECT_FALSE(store.remove(name));
    }
    EXPECT_EQ(store.names(), (string_list{"ok"}));
    EXPECT_FALSE(fs::exists(data.path() + "/evil.spl"));
}

TEST(playlist_class, reports_a_folder_that_cannot_be_made)
{
    testing::temp_folder data;
    write_raw(data.file("Playlists"), "a file in the way");
    std::vector<std::pair<std::string, std::string>> reports;
    playlist_class store(data.path(), [&](const std::string& text, const std::string& caption) {
        reports.emplace_back(text, caption);
    });
    EXPECT_FALSE(store.folder_ok());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].first, "Karvo was NOT able to create the Playlists directory.");
    EXPECT_EQ(reports[0].second, "Karvo");
    store.folder_path();  // asked again: reported again
    EXPECT_EQ(reports.size(), 2u);

    fs::remove(data.file("Playlists"));
    store.folder_path();
    EXPECT_TRUE(store.folder_ok());
    EXPECT_EQ(reports.size(), 2u);
}

} // namespace
} // namespace karvo
