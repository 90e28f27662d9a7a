// SPDX-License-Identifier: GPL-3.0-or-later
// The resource plug-in loader against test plug-ins written in C: step order, missing exports, empty lists, the
// player lists and the derived display texts.
#include "plugins/resource_plugin.h"

#include "platform/dynamic_library.h"
#include "plugins/crash_note.h"
#include "plugins/language_plugin.h"
#include "plugins/main_language.h"
#include "plugins/media_tags.h"
#include "plugins/plugin_lists.h"
#include "library/id3_class.h"
#include "tests/support/media_fixtures.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace karvo {
namespace {

std::string test_plugin(const char* name) {
    return std::string(KARVO_TEST_PLUGIN_DIR) + "/" + name;
}

std::string call_log(const std::string& path) {
    // A second handle on the same file reaches the same loaded library and its log.
    platform::dynamic_library same(path);
    const auto log = same.function<const char* (*)()>("_test_call_log");
    return log ? log() : "";
}

TEST(ResourcePluginLoader, CallsTheExportsInTheLoadStepOrder) {
    resource_plugin plugin;
    const std::string path = test_plugin("six_players.krp");
    ASSERT_TRUE(plugin.load(path)) << plugin.error();
    EXPECT_EQ(call_log(path),
              "info,author,extensions,descriptions,icon1,icon2,locations,filename,players,version,url,");
}

TEST(ResourcePluginLoader, FillsTheParallelListsAndDisplayTexts) {
    resource_plugin plugin;
    ASSERT_TRUE(plugin.load(test_plugin("eight_players.krp")));
    EXPECT_EQ(plugin.player_names().size(), 8u);
    EXPECT_EQ(plugin.program_names()[2], "slot2");
    EXPECT_EQ(plugin.default_locations()[6], "/usr/bin/extra6");
    EXPECT_EQ(plugin.home_pages()[7], "http://extra7");
    EXPECT_EQ(plugin.slot_captions(), (string_list{"Slot 0", "Slot 1", "Slot 2", "Slot 3", "Slot 4", "Slot 5"}));
    EXPECT_EQ(plugin.extra_player_names(), (string_list{"Extra 6", "Extra 7"}));
    EXPECT_EQ(plugin.player6_caption(), "Extra 6");

    EXPECT_EQ(plugin.extensions(), (string_list{"MP3", "WAV"}));
    EXPECT_EQ(plugin.extension_display(), (string_list{"MPEG Layer 3 (MP3)", "Wave Audio (WAV)"}));
    ASSERT_EQ(plugin.extension_icons().size(), 2u);
    EXPECT_EQ(std::string(plugin.extension_icons()[0].begin(), plugin.extension_icons()[0].end()), "icon1");
    EXPECT_EQ(std::string(plugin.extension_icons()[1].begin(), plugin.extension_icons()[1].end()), "icon2!");

    EXPECT_EQ(plugin.info_lines(), (string_list{"Fake resource plug-in", "for the loader tests"}));
    EXPECT_EQ(plugin.author(), "Test Author");
    EXPECT_EQ(plugin.version_label(), "v. 2");
}

TEST(ResourcePluginLoader, SixPlayersLeaveTheExtraPlayersBoxEmpty) {
    resource_plugin plugin;
    ASSERT_TRUE(plugin.load(test_plugin("six_players.krp")));
    EXPECT_EQ(plugin.player_names().size(), 6u);
    EXPECT_TRUE(plugin.extra_player_names().empty());
    EXPECT_EQ(plugin.player6_caption(), "");
    EXPECT_EQ(plugin.version_label(), "v. 1.5");
}

TEST(ResourcePluginLoader, VersionLabelsUseTheGeneralFormat) {
    const std::pair<double, const char*> cases[] = {
        {2.0, "v. 2"},
        {1.5, "v. 1.5"},
        {4.0, "v. 4"},
        {0.25, "v. 0.25"},
        {3.1, "v. 3.1"},
        {-1.0, "v. -1"},
        {1.0 / 3.0, "v. 0.333333333333333"},
        {1e20, "v. 1e+20"},
    };
    for (const auto& [version, label] : cases)
        EXPECT_EQ(format_version_label(version), label) << version;
}

TEST(ResourcePluginLoader, MissingExportsSkipTheirSteps) {
    resource_plugin plugin;
    ASSERT_TRUE(plugin.load(test_plugin("missing_exports.krp")));
    EXPECT_EQ(plugin.player_names(), (string_list{"Only 0", "Only 1", "Only 2"}));
    // Fewer than six names: the missing slots are blank rather than read beyond the list.
    EXPECT_EQ(plugin.slot_captions(), (string_list{"Only 0", "Only 1", "Only 2", "", "", ""}));
    EXPECT_TRUE(plugin.extra_player_names().empty());
    EXPECT_TRUE(plugin.extensions().empty()) << "extensions need their descriptions";
    EXPECT_TRUE(plugin.extension_display().empty());
    EXPECT_TRUE(plugin.program_names().empty());
    EXPECT_TRUE(plugin.home_pages().empty());
    EXPECT_TRUE(plugin.info_lines().empty());
    EXPECT_EQ(plugin.author(), "");
    EXPECT_EQ(plugin.version_label(), "v. 0.25");
    EXPECT_FALSE(plugin.has_media_info());
    EXPECT_EQ(plugin.media_info_string("/any/file.mp3"), "");
    EXPECT_EQ(plugin.media_duration("/any/file.mp3"), -1);
    plugin.show_media_info("/any/file.mp3"); // no export: nothing is called
}

// Tags go to the plug-in that writes them; without it only an MP3 file's ID3v1 tag is written, and any other file
// is refused untouched rather than given an ID3v1 block nothing reads.
TEST(ResourcePluginLoader, TagWritesGoToThePluginThatWritesThemElseOnlyToAnMp3sId3v1Tag) {
    testing::fixture_folder folder;
    const std::string mp3 = folder.file("a.mp3"), flac = folder.file("a.flac");
    testing::tag_fields old = testing::title_tag("Old", "Band");
    old.track = 4;
    testing::write_mp3(mp3, testing::mp3_options().with_id3v1(old));
    testing::write_bytes(flac, {'f', 'L', 'a', 'C'});
    struct row {
        const char* plugin;
        std::string path;
        tag_field_changes changes;
        std::string error; // empty: written
    };
    const row rows[] = {
        {"eight_players.krp", flac, {{"title", "T"}, {"track", "3"}}, ""},
        {"eight_players.krp", flac, {}, "The tag could not be written: " + flac + "|."},
        {"missing_exports.krp", flac, {{"title", "T"}}, "Only MP3 files have an ID3v1 tag"},
        {"missing_exports.krp", mp3, {{"genre", "Polka2"}}, "\"Polka2\" is not an ID3v1 genre"},
        {"missing_exports.krp", mp3, {{"title", "New"}, {"genre", "jazz"}}, ""},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::string(r.plugin) + " " + r.path);
        resource_plugin plugin;
        ASSERT_TRUE(plugin.load(test_plugin(r.plugin)));
        const bool writes = std::string(r.plugin) == "eight_players.krp";
        EXPECT_EQ(plugin.writes_tags(), writes);
        std::ifstream before_file(r.path, std::ios::binary);
        const std::string before{std::istreambuf_iterator<char>(before_file), {}};
        const media_tags tags(&plugin);
        const std::string error = tags.write(r.path, r.changes);
        EXPECT_EQ(error.substr(0, r.error.size()), r.error);
        if (writes && r.error.empty()) { // what crossed the boundary
            EXPECT_EQ(plugin.write_media_tags(r.path, r.changes).message, r.path + "|title=T;track=3;");
        }
        std::ifstream after_file(r.path, std::ios::binary);
        const std::string after{std::istreambuf_iterator<char>(after_file), {}};
        if (!writes) {
            EXPECT_EQ(after == before, !r.error.empty());
        }
    }
    id3_tag written;
    ASSERT_TRUE(id3_2_class().read_tag(mp3, written));
    EXPECT_EQ(written.title.substr(0, 4), "New ");
    EXPECT_EQ(written.artist.substr(0, 5), "Band ");
    EXPECT_EQ(written.genre, 8);
    EXPECT_EQ(written.track, 4); // the ID3v1.1 track stays
}

TEST(ResourcePluginLoader, EmptyAndNullListsLeaveEverythingEmpty) {
    resource_plugin plugin;
    ASSERT_TRUE(plugin.load(test_plugin("empty_lists.krp")));
    for (const string_list* list : {&plugin.player_names(), &plugin.program_names(), &plugin.default_locations(),
                                    &plugin.home_pages(), &plugin.extensions(), &plugin.info_lines()})
        EXPECT_TRUE(list->empty());
    EXPECT_EQ(plugin.author(), "");
    EXPECT_EQ(plugin.version_label(), "");
    EXPECT_TRUE(plugin.has_media_info());
    EXPECT_EQ(plugin.media_info_string("/any/file.mp3"), "");
}

TEST(ResourcePluginLoader, JoinsTheMediaInfoItemsOfEachCall) {
    resource_plugin plugin;
    const std::string path = test_plugin("six_players.krp");
    ASSERT_TRUE(plugin.load(path));
    EXPECT_EQ(plugin.media_info_string("/music/a.mp3"), "/music/a.mp3|1");
    EXPECT_EQ(plugin.media_info_string("/music/b c.mp3"), "/music/b c.mp3|2");
    EXPECT_EQ(plugin.media_info_string("null"), "");
    EXPECT_EQ(plugin.media_info_string("negative"), "");
    EXPECT_EQ(plugin.media_duration("12345"), 5);
    plugin.show_media_info("/music/a.mp3");
    EXPECT_TRUE(call_log(path).ends_with("show,/music/a.mp3,"));
}

// The test plug-in returns its list from static storage and has no _is_reentrant: calls from several threads must
// never overlap, so each caller gets its own path and every call its own number.
TEST(ResourcePluginLoader, APluginThatIsNotReentrantIsCalledOneThreadAtATime) {
    resource_plugin plugin;
    ASSERT_TRUE(plugin.load(test_plugin("eight_players.krp")));
    ASSERT_FALSE(plugin.is_reentrant());
    constexpr int threads = 4, calls = 300;
    std::vector<std::vector<std::string>> seen(threads);
    std::vector<std::thread> callers;
    for (int t = 0; t < threads; ++t)
        callers.emplace_back([&plugin, &seen, t] {
            for (int i = 0; i < calls; ++i)
                seen[t].push_back(plugin.media_info_string("/t" + std::to_string(t) + "/" + std::to_string(i)));
        });
    for (std::thread& caller : callers)
        caller.join();
    std::set<std::string> numbers;
    for (int t = 0; t < threads; ++t)
        for (int i = 0; i < calls; ++i) {
            const std::string prefix = "/t" + std::to_string(t) + "/" + std::to_string(i) + "|";
            ASSERT_TRUE(seen[t][i].starts_with(prefix)) << seen[t][i];
            numbers.insert(seen[t][i].substr(prefix.size()));
        }
    EXPECT_EQ(numbers.size(), static_cast<std::size_t>(threads * calls));
}

// Lists that declare counts beyond their arrays or point at unmapped memory load as empty lists, in the resource
// loader and in the language loader alike, and a media read that never returns costs its caller the time limit
// once: the file is described by its path and the plug-in, which allows one call at a time, is not called again.
TEST(ResourcePluginLoader, AHostilePluginIsBoundedInCountsPointersAndTime) {
    resource_plugin plugin;
    ASSERT_TRUE(plugin.load(test_plugin("hostile.krp")));
    for (const string_list* list : {&plugin.player_names(), &plugin.program_names(), &plugin.default_locations(),
                                    &plugin.home_pages(), &plugin.info_lines()})
        EXPECT_TRUE(list->empty());
    EXPECT_EQ(plugin.author(), "");
    ASSERT_EQ(plugin.extension_icons().size(), 1u);
    EXPECT_TRUE(plugin.extension_icons()[0].empty());
    language_plugin language;
    ASSERT_TRUE(language.load(test_plugin("hostile.krp")));
    EXPECT_EQ(language.texts("_get_main_language"), string_list{});

    const std::string sep(16, '\xFF');
    for (const char* refused : {"/m/huge.mp3", "/m/wild.mp3", "/m/badtext.mp3"})
        EXPECT_EQ(plugin.media_info_string(refused), "") << refused;
    EXPECT_EQ(plugin.media_info_string("/m/ok.mp3"), "/m/ok.mp3" + sep);

    plugin.set_read_time_limit(std::chrono::milliseconds(300));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(plugin.media_info_string("/m/hang.mp3"), "/m/hang.mp3" + sep);
    EXPECT_EQ(plugin.media_info_string("/m/after.mp3"), "/m/after.mp3" + sep);
    EXPECT_EQ(plugin.media_info_string("/m/line\nbreak.mp3"), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(plugin.unread_count(), 3);
    EXPECT_TRUE(plugin.has_stuck_reads());
    plugin.show_media_info("/m/ok.mp3"); // would wait for the stuck call forever
}

// A crash inside a media read still ends the program, but the file it happened on is told and noted for the next
// start.
TEST(ResourcePluginLoaderDeathTest, ACrashInAReadLeavesANoteNamingTheFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string note = ::testing::TempDir() + "karvo_crash_note_test";
    EXPECT_DEATH(
        {
            install_plugin_crash_note(note);
            resource_plugin plugin;
            plugin.load(test_plugin("hostile.krp"));
            plugin.media_info_string("/m/crash.mp3");
        },
        "the resource plug-in crashed while reading /m/crash.mp3");
    EXPECT_EQ(take_plugin_crash_note(note), "/m/crash.mp3");
    EXPECT_EQ(take_plugin_crash_note(note), std::nullopt);
}

// Through helper processes a crash or a hang in a read ends a helper only: the file is listed by its path and
// counted, the next file is read by a fresh helper, and nothing is left inside the plug-in in this process.
TEST(ResourcePluginLoader, HelperProcessesContainCrashesAndHangs) {
    resource_plugin plugin;
    ASSERT_TRUE(plugin.load(test_plugin("hostile.krp")));
    plugin.set_read_time_limit(std::chrono::milliseconds(1500));
    // A sanitizer build's helper would report its crash at length first, long enough to look like a hang.
    ::setenv("ASAN_OPTIONS", "handle_segv=0", 1);
    ASSERT_TRUE(plugin.use_reader_process(KARVO_MEDIA_READER_PATH, 2));
    EXPECT_TRUE(plugin.read_ahead().reentrant);
    const std::string sep(16, '\xFF');
    const struct {
        const char* path;
        std::string info;
        int unread, crashed;
    } reads[] = {
        {"/m/ok.mp3", "/m/ok.mp3" + sep, 0, 0},       {"/m/crash.mp3", "/m/crash.mp3" + sep, 1, 1},
        {"/m/after.mp3", "/m/after.mp3" + sep, 1, 1}, {"/m/hang.mp3", "/m/hang.mp3" + sep, 2, 1},
        {"/m/next.mp3", "/m/next.mp3" + sep, 2, 1},   {"/m/huge.mp3", "", 2, 1},
        {"/m/crash2.mp3", "/m/crash2.mp3" + sep, 3, 2}, {"/m/last.mp3", "/m/last.mp3" + sep, 3, 2},
    };
    for (const auto& r : reads) {
        EXPECT_EQ(plugin.media_info_string(r.path), r.info) << r.path;
        EXPECT_EQ(plugin.unread_count(), r.unread) << r.path;
        EXPECT_EQ(plugin.crashed_count(), r.crashed) << r.path;
    }
    EXPECT_FALSE(plugin.has_stuck_reads());

    // Streamed on the read-ahead pool, several requests ahead: what a lost helper was still asked goes to the next
    // one, and every answer keeps its place.
    std::vector<std::string> paths, infos;
    for (int i = 0; i < 40; ++i)
        paths.push_back(i == 5 ? "/s/crash.mp3" : i == 17 ? "/s/hang.mp3" : i == 18 ? "/s/huge.mp3" : "/s/" + std::to_string(i));
    read_ahead_each(paths, [&](const std::string& p) { return plugin.media_info_string(p); }, plugin.read_ahead(),
                    [&](const read_ahead_result& r) { infos.push_back(r.info); });
    ASSERT_EQ(infos.size(), paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i)
        EXPECT_EQ(infos[i], i == 18 ? "" : paths[i] + sep) << paths[i];
    EXPECT_EQ(plugin.unread_count(), 5);

    EXPECT_FALSE(plugin.use_reader_process("/nonexistent/karvo-media-reader"));
    EXPECT_FALSE(plugin.reads_in_helpers());
    EXPECT_EQ(plugin.media_info_string("/m/ok.mp3"), "/m/ok.mp3" + sep); // in this process again
}

// A single read never waits for a helper that a stream holds, as the window's reads during a long import.
TEST(ResourcePluginLoader, ASingleReadDoesNotWaitForAStreamsHelper) {
    resource_plugin plugin;
    ASSERT_TRUE(plugin.load(test_plugin("hostile.krp")));
    plugin.set_read_time_limit(std::chrono::milliseconds(3000));
    ASSERT_TRUE(plugin.use_reader_process(KARVO_MEDIA_READER_PATH, 1));
    std::thread stream([&plugin] {
        read_ahead_each({"/s/hang.mp3", "/s/next.mp3"}, [](const std::string&) { return std::string(); },
                        plugin.read_ahead(), [](const read_ahead_result&) {});
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // the stream has the one helper, stuck
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(plugin.media_info_string("/m/ok.mp3"), "/m/ok.mp3" + std::string(16, '\xFF'));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
    stream.join();
}

// Property run over random lists: whatever the count and the pointers, copying never crashes and gives either
// nothing or exactly the declared items. KARVO_FUZZ_SECONDS makes it run longer.
TEST(PluginLists, RandomCountsAndPointersNeverCrashTheCopy) {
    const char* const texts[] = {"alpha", "", "gamma"};
    const char* seconds = std::getenv("KARVO_FUZZ_SECONDS");
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(seconds ? std::atoi(seconds) * 1000 : 300);
    std::mt19937_64 random(27);
    const auto wild = [&]() -> std::uintptr_t {
        switch (random() % 4) {
        case 0: return 0;
        case 1: return random() % 4096;
        case 2: return random() & 0x7fffffffffffULL;
        default: return ~std::uintptr_t{0} - random() % 4096;
        }
    };
    long runs = 0;
    do {
        const char* items[8];
        for (const char*& item : items)
            item = random() % 3 ? texts[random() % 3] : reinterpret_cast<const char*>(wild());
        karvo_string_list list{static_cast<int32_t>(random() % 3 ? random() % 9 : random()),
                               random() % 4 ? items : reinterpret_cast<const char* const*>(wild())};
        const karvo_string_list* given = random() % 8 ? &list : reinterpret_cast<const karvo_string_list*>(wild());
        const string_list copy = copy_plugin_list(given);
        if (given == &list && !copy.empty()) {
            ASSERT_EQ(static_cast<int32_t>(copy.size()), list.count);
            // Only our own texts are compared: a wild address the copy could read may still be one the sanitizer
            // forbids touching directly.
            for (std::size_t i = 0; list.items == items && i < copy.size(); ++i)
                for (const char* text : texts) {
                    if (items[i] == text) {
                        ASSERT_EQ(copy[i], text);
                    }
                }
        }
        ++runs;
    } while (std::chrono::steady_clock::now() < until);
    EXPECT_GT(runs, 100);
}

TEST(ResourcePluginLoader, AMissingLibraryIsReportedAndReloadingStartsAfresh) {
    resource_plugin plugin;
    ASSERT_TRUE(plugin.load(test_plugin("eight_players.krp")));
    EXPECT_FALSE(plugin.load(test_plugin("no_such_plugin.krp")));
    EXPECT_FALSE(plugin.loaded());
    EXPECT_FALSE(plugin.error().empty());
    EXPECT_TRUE(plugin.player_names().empty());
    EXPECT_EQ(plugin.version_label(), "");
    EXPECT_EQ(missing_resource_plugin_text(builtin_main_messages()[15]),
              "Karvo Media can't find this Media Player.  Please go to Prefrences->Media Players and specify the "
              "location of:  plugins/resource.krp");
}

} // namespace
} // namespace karvo
