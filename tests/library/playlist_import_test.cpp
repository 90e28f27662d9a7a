// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_import.h"

#include <atomic>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "library/media_entry.h"
#include "library/media_list.h"
#include "library/playlist_class.h"
#include "library/playlist_files.h"
#include "library/playlist_import_job.h"
#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

namespace karvo {
namespace {

using testing::write_raw;
namespace fs = std::filesystem;

struct expected_entry {
    std::string path; // "@" stands for the test folder
    entry_state state;
    std::string title = {};
    long long seconds = -1;
};

struct expected_report {
    int resolved = 0, not_found = 0, streams = 0, left_out = 0;
    std::string in_details = {}; // a text the report must hold
};

// The tree the playlists point into: files in folders that differ in case, a link loop and a "mount point".
struct playlist_tree : ::testing::Test {
    testing::temp_folder root;

    void SetUp() override {
        for (const char* file :
             {"Music/Artist/Song.mp3", "Music/Artist/Song Two.mp3", "Music/Case/a.mp3", "Music/case/a.mp3",
              "Music/Artist/Caf\xC3\xA9.mp3", "Music/raw\xE9.mp3", "mnt/usb/Rock/x.mp3", "lists/near.mp3"}) {
            fs::create_directories(fs::path(root.file(file)).parent_path());
            write_raw(root.file(file), "");
        }
        fs::create_directory_symlink(root.path(), root.file("lists/loop"));
        fs::create_symlink("self", root.file("lists/self"));
    }

    std::string at(const std::string& path) const {
        return path.rfind('@', 0) == 0 ? root.path() + path.substr(1) : path;
    }
};

TEST_F(playlist_tree, foreign_playlists_resolve_to_files_and_report_what_they_could_not) {
    const std::string song = "@/Music/Artist/Song.mp3";
    std::string many;
    for (int i = 0; i < 100000; ++i)
        many += "/m/" + std::to_string(i) + ".mp3\r\n";
    struct row {
        const char* name;
        const char* file; // under lists/
        std::string bytes;
        std::vector<expected_entry> entries;
        expected_report report;
    } rows[] = {
        {"own plain export reads back exactly",
         "own.m3u",
         at(song) + "\r\n/m/gone.mp3\r\n",
         {{song, entry_state::resolved}, {"/m/gone.mp3", entry_state::not_found}},
         {1, 1, 0, 0, "line 2: /m/gone.mp3"}},
        {"plain lines stay entries, BOM dropped",
         "plain.m3u",
         "\xEF\xBB\xBF"
         "near.mp3\n#EXTINF:1,x\n\n",
         {{"@/lists/near.mp3", entry_state::resolved},
          {"#EXTINF:1,x", entry_state::not_found},
          {"", entry_state::not_found}},
         {1, 2}},
        {"extended: directives are no entries",
         "ext.m3u",
         "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:200,Band - Tune\r\n..\\Music\\Artist\\Song.mp3\r\n# note\r\n\r\n"
         "#EXTINF:-1 tvg-name=\"a,b\",Radio\r\nhttps://radio.example/s\r\n#EXTINF:7,Lost\r\ngone.mp3\r\n",
         {{song, entry_state::resolved, "Band - Tune", 200},
          {"https://radio.example/s", entry_state::stream, "Radio"},
          {"gone.mp3", entry_state::not_found, "Lost", 7}},
         {1, 1, 1}},
        {"windows-1252 text",
         "cp.m3u",
         "..\\Music\\Artist\\Caf\xE9.mp3\r\n",
         {{"@/Music/Artist/Caf\xC3\xA9.mp3", entry_state::resolved}},
         {1, 0, 0, 0, "Windows-1252"}},
        {"each line decoded on its own",
         "mixed.m3u",
         "/m/\xC3\xA9.mp3\r\n/m/\xE9.mp3\r\n..\\Music\\raw\xE9.mp3\r\n",
         {{"/m/\xC3\xA9.mp3", entry_state::not_found},
          {"/m/\xC3\xA9.mp3", entry_state::not_found},
          {"@/Music/raw\xE9.mp3", entry_state::resolved}},
         {1, 2, 0, 0, "2 lines read as Windows-1252"}},
        {"a BOM makes every line utf-8",
         "bom.m3u",
         "\xEF\xBB\xBF/m/\xC3\xA9.mp3\r\n/m/\xE9.mp3\r\n",
         {{"/m/\xC3\xA9.mp3", entry_state::not_found}, {"/m/\xE9.mp3", entry_state::not_found}},
         {0, 2}},
        {"m3u8 is always utf-8",
         "cp.m3u8",
         "..\\Music\\Artist\\Caf\xE9.mp3\r\n",
         {{"..\\Music\\Artist\\Caf\xE9.mp3", entry_state::not_found}},
         {0, 1}},
        {"drive letters, any case, tails under the playlist's folders and the roots",
         "drive.m3u",
         "D:/MUSIC/artist/"
         "song.MP3\r\nC:\\Data\\Rock\\X.mp3\r\nE:\\Nowhere\\none.mp3\r\n\\\\server\\share\\Music\\Artist\\Song "
         "Two.mp3\r\n",
         {{song, entry_state::resolved},
          {"@/mnt/usb/Rock/x.mp3", entry_state::resolved},
          {"E:\\Nowhere\\none.mp3", entry_state::not_found},
          {"@/Music/Artist/Song Two.mp3", entry_state::resolved}},
         {3, 1}},
        {"names equal but for case: exact first, else the first in name order",
         "case.m3u",
         "C:\\Music\\case\\a.mp3\r\nC:\\Music\\CASE\\a.mp3\r\n",
         {{"@/Music/case/a.mp3", entry_state::resolved}, {"@/Music/Case/a.mp3", entry_state::resolved}},
         {2, 0, 0, 0, "took \"Case\""}},
        {"dot segments are taken by their text; a climb above a drive stays at its root",
         "dots.m3u",
         "Gone\\..\\near.mp3\r\nC:\\" + [] {
             std::string climb;
             for (int i = 0; i < 10000; ++i)
                 climb += "..\\";
             return climb;
         }() + "Music\\.\\Artist\\Song.mp3\r\n",
         {{"@/lists/near.mp3", entry_state::resolved}, {song, entry_state::resolved}},
         {2, 0}},
        {"file URIs",
         "uri.m3u",
         "file://" + root.path() + "/Music/Artist/Song%20Two.mp3\r\nfile://otherhost/x.mp3\r\nfile:///a%00b\r\n",
         {{"@/Music/Artist/Song Two.mp3", entry_state::resolved},
          {"file://otherhost/x.mp3", entry_state::not_found},
          {"file:///a%00b", entry_state::not_found}},
         {1, 2}},
        {"xspf: locations, titles and lengths, whatever the extension",
         "xspf.m3u",
         "<?xml version=\"1.0\"?>\n<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\"><trackList>\n"
         "<track><location>file://" +
             root.path() +
             "/Music/Artist/Song%20Two.mp3</location><title>T &amp; U</title>"
             "<creator>Band</creator><duration>61500</duration></track>\n"
             "<track><location> nea%72.mp3 </location></track><!-- <track/> -->\n"
             "<track><title>no location</title></track></trackList></playlist>\n",
         {{"@/Music/Artist/Song Two.mp3", entry_state::resolved, "Band - T & U", 62},
          {"@/lists/near.mp3", entry_state::resolved}},
         {2, 0, 0, 1, "track 3 has no location"}},
        {"xml that is no xspf is refused",
         "feed.xspf",
         "<?xml version=\"1.0\"?><rss><channel/></rss>",
         {},
         {0, 0, 0, 0, "no XSPF"}},
        {"link loops end",
         "loop.m3u",
         "self/x.mp3\r\nloop/lists/loop/Music/Artist/Song.mp3\r\nC:\\loop\\loop\\none.mp3\r\n",
         {{"self/x.mp3", entry_state::not_found},
          {"@/lists/loop/lists/loop/Music/Artist/Song.mp3", entry_state::resolved},
          {"C:\\loop\\loop\\none.mp3", entry_state::not_found}},
         {1, 2}},
        {"NUL bytes cut a line",
         "nul.m3u",
         std::string("near.mp3\0junk\r\n", 15),
         {{"@/lists/near.mp3", entry_state::resolved}},
         {1, 0, 0, 0, "NUL"}},
        {"a 1 MB line is left out",
         "long.m3u",
         "near.mp3\r\n" + std::string(1 << 20, 'x') + "\r\nnear.mp3",
         {{"@/lists/near.mp3", entry_state::resolved}, {"@/lists/near.mp3", entry_state::resolved}},
         {2, 0, 0, 1, "line 2 is longer"}},
        {"binary data is no playlist",
         "bin.m3u",
         std::string("ID3\3\0\0\0\0\0\0", 10) + std::string(4000, '\0'),
         {},
         {0, 0, 0, 0, "binary"}},
        {"utf-16 is refused, not misread", "wide.m3u", std::string("\xFF\xFEn\0e\0", 6), {}, {0, 0, 0, 0, "UTF-16"}},
        {"pls: a missing File key gives no row",
         "gap.pls",
         "[playlist]\r\nFile1=near.mp3\r\nTitle1=Near\r\nLength1=61\r\nFile2=x2\r\nFile4=x4\r\nFILE5=x5\r\n"
         "NumberOfEntries=5\r\n",
         {{"@/lists/near.mp3", entry_state::resolved, "Near", 61},
          {"x2", entry_state::not_found},
          {"x4", entry_state::not_found},
          {"x5", entry_state::not_found}},
         {1, 3, 0, 0, "File3 is missing"}},
        {"pls: count too large or missing",
         "nocount.pls",
         "[Playlist]\r\nFile2=b\r\nFile1=near.mp3\r\n",
         {{"@/lists/near.mp3", entry_state::resolved}, {"b", entry_state::not_found}},
         {1, 1, 0, 0, "NumberOfEntries is missing"}},
        {"a long file streams across its blocks", "many.m3u", many, {}, {0, 100000}},
    };
    const std::vector<std::string> roots = {root.file("mnt/usb")};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const std::string file = root.file(std::string("lists/") + r.file);
        write_raw(file, r.bytes);
        const playlist_read read = read_playlist(file, roots);
        const import_report& report = read.report;
        if (std::string(r.file) != "many.m3u") {
            ASSERT_EQ(read.entries.size(), r.entries.size());
            for (std::size_t i = 0; i < r.entries.size(); ++i) {
                SCOPED_TRACE(i);
                EXPECT_EQ(read.entries[i].path, at(r.entries[i].path));
                EXPECT_EQ(read.entries[i].state, r.entries[i].state);
                EXPECT_EQ(read.entries[i].title, r.entries[i].title);
                EXPECT_EQ(read.entries[i].seconds, r.entries[i].seconds);
            }
        } else {
            ASSERT_EQ(read.entries.size(), 100000u);
            EXPECT_EQ(read.entries.back().path, "/m/99999.mp3");
            EXPECT_EQ(report.unresolved.size(), import_report::max_listed);
        }
        EXPECT_EQ(report.imported, static_cast<int>(read.entries.size()));
        EXPECT_EQ(report.resolved, r.report.resolved);
        EXPECT_EQ(report.not_found, r.report.not_found);
        EXPECT_EQ(report.streams, r.report.streams);
        EXPECT_EQ(report.left_out, r.report.left_out);
        EXPECT_NE(report.details().find(r.report.in_details), std::string::npos) << report.details();
    }
}

// What players and this program read back from the program's own exports, in both forms.
TEST_F(playlist_tree, exports_round_trip_with_titles_and_lengths) {
    const std::vector<playlist_row> rows = {
        {at("@/Music/Artist/Song.mp3"), "Band", "Tune", 200},
        {at("@/Music/Artist/Caf\xC3\xA9.mp3"), "", "Only title", -1},
        {"https://radio.example/s", "", "", 0},
        {"/m/a, b;=[].mp3", "A - B", "C\r\nD", 5},
    };
    struct {
        const char* file;
        playlist_format format;
        m3u_form form;
        bool titles;
    } cases[] = {
        {"out.m3u", playlist_format::m3u, m3u_form::plain, false},
        {"ext.m3u", playlist_format::m3u, m3u_form::extended, true},
        {"out.m3u8", playlist_format::m3u, m3u_form::extended, true},
        {"out.pls", playlist_format::pls, m3u_form::plain, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string file = root.file(c.file);
        const export_result written = write_playlist(file, c.format, rows, c.form);
        ASSERT_TRUE(written.written);
        EXPECT_EQ(written.left_out, 0);
        const playlist_read read = read_playlist(file, {});
        ASSERT_EQ(read.entries.size(), rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(read.entries[i].path, rows[i].path);
            if (c.titles) {
                EXPECT_EQ(read.entries[i].seconds, rows[i].seconds > 0 ? rows[i].seconds : -1);
            }
        }
        if (c.titles) {
            EXPECT_EQ(read.entries[0].title, "Band - Tune");
            EXPECT_EQ(read.entries[1].title, "Only title");
            EXPECT_EQ(read.entries[2].title, "s");
            EXPECT_EQ(read.entries[3].title, "A - B - C  D");
        }
        EXPECT_EQ(read.report.resolved, 2);
        EXPECT_EQ(read.report.streams, 1);
    }
}

// The entry keeps the playlist's title and length where the media information has none.
TEST(playlist_import, titles_fill_the_fields_the_source_leaves_empty) {
    playlist_read read;
    read.entries = {{"/m/tagged.mp3", "Band - Tune", 200, entry_state::resolved},
                    {"/m/untagged.mp3", "Band - Tune", 200, entry_state::resolved},
                    {"/m/gone.mp3", "Just a title", 7, entry_state::not_found},
                    {"http://s", "Radio \xFF", -1, entry_state::stream}};
    const auto info = [](const std::string& path) -> std::string {
        media_fields fields;
        fields[0] = path;
        if (path == "/m/tagged.mp3") {
            fields[1] = "Real", fields[2] = "Artist", fields[7] = "180";
        }
        return path == "/m/gone.mp3" ? std::string() : make_media_info(fields);
    };
    const string_list lines = media_info_lines(read, info);
    ASSERT_EQ(lines.size(), 4u);
    struct {
        std::string path, song, artist, seconds;
    } expected[] = {
        {"/m/tagged.mp3", "Real", "Artist", "180"},
        {"/m/untagged.mp3", "Tune", "Band", "200"},
        {"/m/gone.mp3", "Just a title", "", "7"},
        {"http://s", "Radio ?", "", ""},
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const media_fields fields = parse_media_info(lines[i]);
        EXPECT_EQ(fields[0], expected[i].path);
        EXPECT_EQ(fields[1], expected[i].song);
        EXPECT_EQ(fields[2], expected[i].artist);
        EXPECT_EQ(fields[7], expected[i].seconds);
        EXPECT_EQ(split_media_info(lines[i]).size(), static_cast<std::size_t>(info_field_count));
    }
}

// An import as a job on a worker: every entry is a step of its progress; a cancel stops the reads and saves
// nothing, while a whole run saves all lines in order, read ahead on several threads.
TEST(playlist_import, an_import_job_reports_progress_and_can_be_cancelled) {
    testing::temp_folder tmp;
    std::string m3u;
    for (int i = 0; i < 300; ++i)
        m3u += tmp.file("song" + std::to_string(i) + ".mp3") + "\n";
    m3u += "http://radio.example/stream\n";
    write_raw(tmp.file("big.m3u"), m3u);
    const struct {
        int cancel_at; // -1: never
        command_result result;
    } rows[] = {{-1, command_result::done}, {120, command_result::cancelled}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.cancel_at);
        testing::temp_folder data;
        playlist_class store(data.path());
        std::atomic<int> reads{0};
        playlist_import_job* self = nullptr;
        playlist_import_job job(
            tmp.file("big.m3u"), playlist_format::m3u, "Big",
            [&](const std::string& path) {
                if (++reads == r.cancel_at)
                    self->control().cancel();
                return make_media_info({path});
            },
            {true, 3, 16}, {});
        self = &job;
        std::thread worker([&job] { job.run(); });
        worker.join();
        EXPECT_TRUE(job.control().finished());
        EXPECT_EQ(job.control().total(), 301);
        const import_outcome outcome = job.save_into(store);
        EXPECT_EQ(outcome.result, r.result);
        if (r.cancel_at < 0) {
            EXPECT_EQ(job.control().done(), 301);
            EXPECT_EQ(reads.load(), 300); // the stream is not asked
            const string_list lines = store.load("Big");
            ASSERT_EQ(lines.size(), 301u);
            EXPECT_EQ(lines[7], make_media_info({tmp.file("song7.mp3")}));
            EXPECT_EQ(split_media_info(lines[300])[0], "http://radio.example/stream");
        } else {
            EXPECT_LT(job.control().done(), 200);
            EXPECT_LT(reads.load(), 200);
            EXPECT_FALSE(store.exists("Big"));
        }
    }
}

} // namespace
} // namespace karvo
