// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_files.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "library/media_list.h"
#include "library/playlist_class.h"
#include "platform/ini_file.h"
#include "platform/testing/scripted_prompts.h"
#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

namespace karvo {
namespace {

using testing::read_raw;
using testing::write_raw;
namespace fs = std::filesystem;

std::string info_of(const std::string& path) {
    return "info:" + path + "\xFF\xFF";
}

media_list list_of(const string_list& paths) {
    media_list list;
    for (const auto& path : paths) {
        media_fields fields;
        fields[0] = path;
        list.append(make_media_info(fields), "");
    }
    return list;
}

TEST(playlist_files, m3u_lines_are_taken_as_they_stand) {
    testing::temp_folder folder;
    const std::string file = folder.file("list.m3u");
    struct {
        const char* name;
        std::string bytes;
        string_list lines;
    } cases[] = {
        {"cr lf, blank and comment lines",
         "#EXTM3U\r\n/m/a.mp3\r\n\r\n  b.mp3 \r\n",
         {"#EXTM3U", "/m/a.mp3", "", "  b.mp3 "}},
        {"lf and no final break", "a\nb", {"a", "b"}},
        {"empty file", "", {}},
        {"nul cuts its line", std::string("a\0junk\r\nb", 9), {"a", "b"}},
        {"bytes that are not utf-8", "\xE9t\xE9.mp3\r\n\xFF\xFE", {"\xE9t\xE9.mp3", "\xFF\xFE"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write_raw(file, c.bytes);
        EXPECT_EQ(read_m3u(file), c.lines);
    }
    EXPECT_TRUE(read_m3u(folder.file("missing.m3u")).empty());

    std::string big;
    for (int i = 0; i < 100000; ++i)
        big += "/m/" + std::to_string(i) + ".mp3\r\n";
    write_raw(file, big);
    const auto lines = read_m3u(file);
    ASSERT_EQ(lines.size(), 100000u);
    EXPECT_EQ(lines.back(), "/m/99999.mp3");
}

TEST(playlist_files, pls_entries_follow_number_of_entries) {
    testing::temp_folder folder;
    const std::string file = folder.file("list.pls");
    struct {
        const char* name;
        std::string bytes;
        string_list paths;
    } cases[] = {
        {"keys and section in any case",
         "[PlayList]\r\nFILE1=/m/a.mp3\r\nfile2 = \"/m/b c.mp3\"\r\nnumberofentries=2\r\n",
         {"/m/a.mp3", "/m/b c.mp3"}},
        {"missing keys give no line", "[playlist]\r\nFile2=b\r\nNumberOfEntries=3\r\n", {"b"}},
        {"keys above the count are ignored", "[playlist]\r\nFile1=a\r\nFile2=b\r\nNumberOfEntries=1\r\n", {"a"}},
        {"no count: every File key", "[playlist]\r\nFile3=c\r\nFile1=a\r\n", {"a", "c"}},
        {"garbage count counts as none", "[playlist]\r\nFile1=a\r\nNumberOfEntries=lots\r\n", {"a"}},
        {"other section only", "[other]\r\nFile1=a\r\nNumberOfEntries=1\r\n", {}},
        {"huge count", "[playlist]\r\nFile1=a\r\nNumberOfEntries=2000000000\r\n", {"a"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write_raw(file, c.bytes);
        EXPECT_EQ(read_pls(file), c.paths);
    }
    EXPECT_TRUE(read_pls(folder.file("missing.pls")).empty());
}

TEST(playlist_files, written_files_hold_one_entry_per_line_and_unsafe_paths_as_uris) {
    testing::temp_folder folder;
    const string_list paths = {"/m/a.mp3", "/m/evil\r\nFile9=/etc/passwd", "/m/x\ny.mp3", std::string("/m/n\0.mp3", 9),
                               "/m/b c.mp3"};

    ASSERT_TRUE(write_m3u(folder.file("out.m3u"), paths));
    EXPECT_EQ(read_raw(folder.file("out.m3u")),
              "/m/a.mp3\r\nfile:///m/evil%0D%0AFile9%3D/etc/passwd\r\nfile:///m/x%0Ay.mp3\r\n/m/b c.mp3\r\n");

    ASSERT_TRUE(write_pls(folder.file("out.pls"), paths));
    EXPECT_EQ(read_raw(folder.file("out.pls")),
              "[playlist]\r\nFile1=/m/a.mp3\r\nFile2=file:///m/evil%0D%0AFile9%3D/etc/passwd\r\n"
              "File3=file:///m/x%0Ay.mp3\r\nFile4=/m/b c.mp3\r\nNumberOfEntries=4\r\n");

    ASSERT_TRUE(write_temp_playlist(folder.path(), {"/m/a.mp3"}));
    EXPECT_EQ(read_raw(folder.file("temp_playlist.m3u")), "/m/a.mp3\r\n");
    EXPECT_EQ(full_paths_of({"/m/p.mp3\xFF"
                             "t\xFF",
                             "bare"}),
              (string_list{"/m/p.mp3", "bare"}));

    // A folder in the way is not replaced.
    fs::create_directory(folder.file("dir.m3u"));
    EXPECT_FALSE(write_m3u(folder.file("dir.m3u"), paths));
    EXPECT_FALSE(write_pls(folder.file("dir.m3u"), paths));
}

// Players read every File key, whatever NumberOfEntries says: an export leaves no entry of the list it replaces,
// but the user's other sections and keys stay.
TEST(playlist_files, pls_export_replaces_the_entries_and_keeps_the_rest) {
    testing::temp_folder folder;
    const std::string file = folder.file("list.pls");
    const std::string longer = "[playlist]\r\nFile1=/m/1\r\nFile2=/m/2\r\nFile3=/m/3\r\nNumberOfEntries=3\r\n";
    struct {
        const char* name;
        std::string before;
        string_list paths;
        std::string after;
    } cases[] = {
        {"no file", "", {"/m/a", "/m/b"}, "[playlist]\r\nFile1=/m/a\r\nFile2=/m/b\r\nNumberOfEntries=2\r\n"},
        {"empty playlist", "", {}, "[playlist]\r\nNumberOfEntries=0\r\n"},
        {"over a longer export", longer, {"/m/a"}, "[playlist]\r\nFile1=/m/a\r\nNumberOfEntries=1\r\n"},
        {"other sections and keys",
         "\xEF\xBB\xBF; note\n[Other]\nFile1=x\n\n[PLAYLIST]\r\nTitle1=t\r\nfile2=old\r\nVersion=2\r\n; end\r\n"
         "[Last]\rk=v",
         {"/m/a"},
         "[Other]\r\nFile1=x\r\n\r\n[playlist]\r\nVersion=2\r\nFile1=/m/a\r\nNumberOfEntries=1\r\n[Last]\r\nk=v\r\n"},
        {"sections before it only",
         "[Extra]\r\nk=v\r\n",
         {"/m/a"},
         "[playlist]\r\nFile1=/m/a\r\nNumberOfEntries=1\r\n[Extra]\r\nk=v\r\n"},
        {"duplicate key and quoted value",
         "[playlist]\r\nFile1=\"/m/a\"\r\nFILE1=dup\r\nNumberOfEntries = 9 ",
         {"/m/a", "/m/b"},
         "[playlist]\r\nFile1=/m/a\r\nFile2=/m/b\r\nNumberOfEntries=2\r\n"},
        {"not text", std::string("[x]\r\n\0\1", 7), {}, "[playlist]\r\nNumberOfEntries=0\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(file);
        if (!c.before.empty())
            write_raw(file, c.before);
        ASSERT_TRUE(write_pls(file, c.paths));
        EXPECT_EQ(read_raw(file), c.after);
        EXPECT_EQ(read_pls(file), c.paths);
    }
}

struct command_test : ::testing::Test {
    testing::temp_folder data;
    playlist_class store{data.path()};
    platform::scripted_prompts prompts;
    int rebuilds = 0;
    std::function<void()> rebuild = [this] { ++rebuilds; };
    media_info_source info = info_of;
};

TEST_F(command_test, dialogs_have_their_filters_and_extensions_and_cancel_does_nothing) {
    const media_list list = list_of({"/m/a.mp3"});
    const std::string m3u = "Playlist File (*.M3U)|*.m3u|All Files (*.*)|*.*";
    const std::string pls = "Playlist File (*.PLS)|*.pls|All Files (*.*)|*.*";
    struct {
        std::function<command_result()> run;
        std::string filter;
        const char* extension;
    } cases[] = {
        {[&] { return import_m3u(prompts, "title", store, info, rebuild); }, m3u, "m3u"},
        {[&] { return import_pls(prompts, "title", store, info, rebuild); }, pls, "pls"},
        {[&] { return export_m3u(prompts, "title", list); }, m3u, "m3u"},
        {[&] { return export_pls(prompts, "title", list); }, pls, "pls"},
    };
    for (const auto& c : cases) {
        prompts.clear();
        prompts.answer_open_file(std::nullopt).answer_save_file(std::nullopt);
        EXPECT_EQ(c.run(), command_result::cancelled);
        ASSERT_EQ(prompts.questions().size(), 1u);
        const auto& options = prompts.questions()[0].options;
        EXPECT_EQ(options.title, "title");
        EXPECT_EQ(options.filter, c.filter);
        EXPECT_EQ(options.default_extension, c.extension);
        EXPECT_EQ(options.initial_name, "");
    }
    EXPECT_EQ(rebuilds, 0);
    EXPECT_TRUE(store.names().empty());
}

TEST_F(command_test, import_makes_a_saved_playlist_named_after_the_file) {
    write_raw(data.file("Party.m3u"), "/m/a.mp3\r\n\r\n# comment\r\n");
    write_raw(data.file("Mix.pls"), "[playlist]\r\nFile1=/m/b.mp3\r\nNumberOfEntries=1\r\n");
    fs::create_directory(data.file("in"));
    write_raw(data.file("in/..pls"), "");
    for (const char* file : {"Party.m3u", "Mix.pls", "Gone.pls", "Gone.m3u", "in/", "in/..pls"})
        prompts.answer_open_file(data.file(file));

    EXPECT_EQ(import_m3u(prompts, "t", store, info, rebuild), command_result::done);
    EXPECT_EQ(import_pls(prompts, "t", store, info, rebuild), command_result::done);
    EXPECT_EQ(import_pls(prompts, "t", store, info, rebuild), command_result::done);      // missing: empty playlist
    EXPECT_EQ(import_m3u(prompts, "t", store, info, rebuild), command_result::cancelled); // missing: none
    // No usable playlist name: nothing is saved.
    EXPECT_EQ(import_pls(prompts, "t", store, info, rebuild), command_result::failed);
    EXPECT_EQ(import_pls(prompts, "t", store, info, rebuild), command_result::failed);

    EXPECT_EQ(store.names(), (string_list{"Gone", "Mix", "Party"}));
    EXPECT_EQ(store.load("Party"), (string_list{info_of("/m/a.mp3"), info_of(""), info_of("# comment")}));
    EXPECT_EQ(store.load("Mix"), (string_list{info_of("/m/b.mp3")}));
    EXPECT_TRUE(store.load("Gone").empty());
    EXPECT_EQ(rebuilds, 3);
    EXPECT_FALSE(fs::exists(data.file("Playlists/.spl")));
    EXPECT_TRUE(prompts.errors().empty());
}

TEST_F(command_test, export_writes_full_paths_and_reports_an_unwritable_m3u) {
    const media_list list = list_of({"/m/a.mp3", "/m/b.mp3"});
    const media_list empty;
    write_raw(data.file("out.m3u"), "old content that is longer\r\n");
    fs::create_directory(data.file("taken.m3u"));
    for (const char* file : {"out.m3u", "out.pls", "empty.m3u", "empty.pls", "taken.m3u"})
        prompts.answer_save_file(data.file(file));
    prompts.answer_message(platform::message_result::ok);

    EXPECT_EQ(export_m3u(prompts, "t", list), command_result::done);
    EXPECT_EQ(export_pls(prompts, "t", list), command_result::done);
    EXPECT_EQ(export_m3u(prompts, "t", empty), command_result::done);
    EXPECT_EQ(export_pls(prompts, "t", empty), command_result::done);
    EXPECT_EQ(read_raw(data.file("out.m3u")), "/m/a.mp3\r\n/m/b.mp3\r\n");
    EXPECT_EQ(read_pls(data.file("out.pls")), (string_list{"/m/a.mp3", "/m/b.mp3"}));
    EXPECT_TRUE(fs::exists(data.file("empty.m3u")));
    EXPECT_EQ(read_raw(data.file("empty.m3u")), "");
    EXPECT_EQ(read_raw(data.file("empty.pls")), "[playlist]\r\nNumberOfEntries=0\r\n");

    EXPECT_EQ(export_m3u(prompts, "t", list), command_result::failed);
    const auto& message = prompts.questions().back();
    EXPECT_EQ(message.text, "Can't Write to File.");
    EXPECT_EQ(message.caption, "Karvo");
    EXPECT_EQ(message.buttons, platform::message_buttons::ok_cancel);
    EXPECT_TRUE(prompts.errors().empty());
}

TEST_F(command_test, an_export_that_leaves_rows_out_says_how_many) {
    const media_list list = list_of({"/m/a.mp3", "rel/x\ny.mp3", "/m/b.mp3", "rel/c\r.mp3"});
    prompts.answer_save_file(data.file("out.m3u")).answer_save_file(data.file("out.pls"));
    prompts.answer_message(platform::message_result::ok).answer_message(platform::message_result::ok);

    EXPECT_EQ(export_m3u(prompts, "t", list, m3u_form::extended), command_result::done);
    EXPECT_EQ(export_pls(prompts, "t", list), command_result::done);
    ASSERT_EQ(prompts.questions().size(), 4u);
    for (const std::size_t i : {1u, 3u})
        EXPECT_EQ(prompts.questions()[i].text,
                  "2 entries were left out of the playlist file: their paths are empty, or relative and hold "
                  "characters the file cannot carry.");
    EXPECT_EQ(read_raw(data.file("out.m3u")), "#EXTM3U\r\n#EXTINF:-1,a\r\n/m/a.mp3\r\n#EXTINF:-1,b\r\n/m/b.mp3\r\n");
    EXPECT_EQ(read_pls(data.file("out.pls")), (string_list{"/m/a.mp3", "/m/b.mp3"}));
}

} // namespace
} // namespace karvo
