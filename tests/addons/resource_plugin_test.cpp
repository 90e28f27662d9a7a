// SPDX-License-Identifier: GPL-3.0-or-later
// The shipped resource plug-in, loaded as the program loads it, against media files generated here.
#include "library/media_entry.h"
#include "library/string_list.h"
#include "platform/dynamic_library.h"
#include "sdk/karvo_plugin.h"
#include "tests/support/media_fixtures.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace karvo {
namespace {

using testing::fixture_folder;
using testing::mp3_options;
using testing::tag_fields;

class ResourcePlugin : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.load(KARVO_PLUGIN_DIR "/resource.krp")) << library.error();
        info_string = library.function<karvo_get_media_info_string_fn>("_get_media_info_string");
        ASSERT_NE(info_string, nullptr);
    }

    string_list list(const char* name) const {
        const auto get = library.function<const karvo_string_list* (*)()>(name);
        EXPECT_NE(get, nullptr) << name;
        string_list items;
        if (const karvo_string_list* l = get ? get() : nullptr)
            for (int32_t i = 0; i < l->count; ++i)
                items.emplace_back(l->items[i]);
        return items;
    }

    // The joined info string, or nullopt when the plug-in returned an empty list.
    std::optional<std::string> info(const std::string& path) const {
        const karvo_string_list* l = info_string(path.c_str());
        if (!l || l->count == 0)
            return std::nullopt;
        std::string joined;
        for (int32_t i = 0; i < l->count; ++i)
            joined += l->items[i];
        return joined;
    }

    media_fields fields_of(const std::string& path) const {
        const auto text = info(path);
        EXPECT_TRUE(text.has_value()) << path;
        if (!text)
            return {};
        EXPECT_EQ(std::count(text->begin(), text->end(), '\xFF'), 16) << path;
        EXPECT_TRUE(text->ends_with("\xFF\xFF")) << path;
        EXPECT_EQ(text->find_first_of("\r\n"), std::string::npos) << path;
        return parse_media_info(*text);
    }

    platform::dynamic_library library;
    karvo_get_media_info_string_fn info_string = nullptr;
    fixture_folder folder;
};

// Field positions in the info string.
enum {
    path_ = 0,
    song,
    artist,
    album,
    year,
    comment,
    genre,
    seconds,
    channels,
    file_size,
    track,
    sample_rate,
    quality,
    codec,
    modified
};

TEST_F(ResourcePlugin, ReadsTagsInEveryEncodingAsCleanUtf8) {
    struct tag_case {
        const char* name;
        mp3_options options;
        tag_fields expected;
    };
    constexpr auto utf16 = testing::id3v2_encoding::utf16;
    const tag_fields plain{"V1 Title", "V1 Artist", "V1 Album", "An ID3v1 comment", "Jazz", 1999, 7};
    const tag_fields latin{"Café ÿ", "Motörhead", "Déjà vu", "naïve", "Funk", 2004, 3};
    const tag_fields wide{"Привет 日本", "🎵 Band", "Ελληνικά", "ÿÿÿ", "Synthwave", 2021, 12};
    tag_fields broken{"two\nlines", "carriage\rreturn", "both\r\nends", "a\r\nb\nc", "Blues", 2010, 1};
    tag_fields cleaned = broken;
    cleaned.title = "two lines";
    cleaned.artist = "carriage return";
    cleaned.album = "both  ends";
    cleaned.comment = "a  b c";
    const std::vector<tag_case> cases = {
        {"id3v1.mp3", mp3_options().with_id3v1(plain), plain},
        {"latin1.mp3", mp3_options().with_id3v2(latin), latin},
        {"utf16.mp3", mp3_options().with_id3v2(wide, utf16), wide},
        {"line breaks.mp3", mp3_options().with_id3v2(broken, utf16), cleaned},
        {"v2 over v1.mp3", mp3_options().with_id3v2(latin).with_id3v1(plain), latin},
        // Tags with more frames than any real one are read for the shown frames only, the length kept.
        {"20000 frames.mp3", mp3_options().with_id3v2(latin).with_extra_frames(20000), latin},
        {"2000 frames.mp3", mp3_options().with_id3v2(wide, utf16).with_extra_frames(2000).with_id3v1(plain), wide},
    };
    for (const tag_case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.file(c.name);
        testing::write_mp3(path, c.options);
        const media_fields f = fields_of(path);
        EXPECT_EQ(f[path_], path);
        EXPECT_EQ(f[song], c.expected.title);
        EXPECT_EQ(f[artist], c.expected.artist);
        EXPECT_EQ(f[album], c.expected.album);
        EXPECT_EQ(f[comment], c.expected.comment);
        EXPECT_EQ(f[genre], c.expected.genre);
        EXPECT_EQ(f[year], std::to_string(c.expected.year));
        EXPECT_EQ(f[track], std::to_string(c.expected.track));
        EXPECT_EQ(f[seconds], "1");
    }
}

TEST_F(ResourcePlugin, ReadsAudioPropertiesSizeAndTime) {
    struct audio_case {
        const char* name;
        std::vector<unsigned char> bytes;
        const char *seconds, *channels, *sample_rate, *quality, *codec;
    };
    const std::vector<audio_case> cases = {
        {"stereo.mp3", testing::make_mp3(mp3_options().with_rate(128, 44100).with_frames(200)), "5", "2", "44100",
         "128", "MPEG-1 Layer 3"},
        {"mono.mp3", testing::make_mp3(mp3_options().with_rate(64, 48000).with_mono().with_frames(300)), "7", "1",
         "48000", "64", "MPEG-1 Layer 3"},
        {"clip.wav", testing::make_wav(22050, 1, 16, 3.0), "3", "1", "22050", "353", "PCM"},
    };
    const std::regex minute_stamp(R"(\d{4}-\d\d-\d\d \d\d:\d\d)");
    for (const audio_case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.file(c.name);
        testing::write_bytes(path, c.bytes);
        const media_fields f = fields_of(path);
        EXPECT_EQ(f[seconds], c.seconds);
        EXPECT_EQ(f[channels], c.channels);
        EXPECT_EQ(f[sample_rate], c.sample_rate);
        EXPECT_EQ(f[quality], c.quality);
        EXPECT_EQ(f[codec], c.codec);
        EXPECT_EQ(f[file_size], std::to_string(c.bytes.size()));
        EXPECT_TRUE(std::regex_match(f[modified], minute_stamp)) << f[modified];
        EXPECT_EQ(f[song], "");
    }
}

TEST_F(ResourcePlugin, UnreadableFilesGiveThePathAndEmptyFields) {
    const std::vector<unsigned char> tagged =
        testing::make_mp3(mp3_options().with_frames(20).with_id3v2(testing::title_tag("Cut", "Short")));
    const auto first = [&](std::size_t n) { return std::vector<unsigned char>(tagged.begin(), tagged.begin() + n); };
    testing::write_bytes(folder.file("empty.mp3"), {});
    testing::write_bytes(folder.file("cut in tag.mp3"), first(30));
    testing::write_bytes(folder.file("header only.mp3"), first(10));
    testing::write_bytes(folder.file("notes.mp3"), {'j', 'u', 's', 't', ' ', 't', 'e', 'x', 't', '\n'});
    testing::write_bytes(folder.file("readme.txt"), {'h', 'e', 'l', 'l', 'o'});
    std::filesystem::create_directory(folder.file("folder.mp3"));

    for (const char* name :
         {"empty.mp3", "cut in tag.mp3", "header only.mp3", "notes.mp3", "readme.txt", "folder.mp3", "missing.mp3"}) {
        SCOPED_TRACE(name);
        const std::string path = folder.file(name);
        const media_fields f = fields_of(path);
        EXPECT_EQ(f[path_], path);
        for (std::size_t i = 1; i < f.size(); ++i)
            EXPECT_EQ(f[i], "") << "field " << i;
    }
}

TEST_F(ResourcePlugin, TruncatedAudioStillGivesAWellFormedString) {
    const std::vector<unsigned char> whole =
        testing::make_mp3(mp3_options().with_frames(50).with_id3v2(testing::title_tag("Half", "Gone")));
    const std::string path = folder.file("half.mp3");
    testing::write_bytes(path, std::vector<unsigned char>(whole.begin(), whole.begin() + whole.size() / 2 + 7));
    const media_fields f = fields_of(path);
    EXPECT_EQ(f[path_], path);
    EXPECT_EQ(f[song], "Half");
}

TEST_F(ResourcePlugin, PathsThatCannotBeAFieldGiveAnEmptyList) {
    for (const std::string name : {"line\nbreak.mp3", "carriage\rreturn.mp3", "byte\xFF.mp3"}) {
        const std::string path = folder.file(name);
        testing::write_mp3(path, mp3_options().with_frames(5));
        EXPECT_FALSE(info(path).has_value()) << name;
    }
}

TEST_F(ResourcePlugin, EachCallDescribesItsOwnFile) {
    testing::write_mp3(folder.file("a.mp3"), mp3_options().with_id3v2(testing::title_tag("First")));
    testing::write_mp3(folder.file("b.mp3"), mp3_options().with_id3v1(testing::title_tag("Second")));
    EXPECT_EQ(fields_of(folder.file("a.mp3"))[song], "First");
    EXPECT_EQ(fields_of(folder.file("b.mp3"))[song], "Second");
    EXPECT_EQ(fields_of(folder.file("missing.mp3"))[song], "");
}

// The plug-in says it is reentrant: several threads reading the same files at once get what one thread gets.
TEST_F(ResourcePlugin, ReadsFromSeveralThreadsAsFromOne) {
    const auto is_reentrant = library.function<karvo_is_reentrant_fn>("_is_reentrant");
    ASSERT_NE(is_reentrant, nullptr);
    EXPECT_NE(is_reentrant(), 0);
    std::vector<std::string> paths;
    for (int i = 0; i < 48; ++i) {
        tag_fields tag =
            testing::title_tag("Song " + std::to_string(i) + " \u00e9t\u00e9", "Artist " + std::to_string(i % 5));
        tag.album = "Album " + std::to_string(i % 7);
        tag.year = 1960 + i;
        const std::string path = folder.file("track " + std::to_string(i) + (i % 8 == 7 ? ".ogg" : ".mp3"));
        mp3_options options = mp3_options().with_frames(10 + i);
        if (i % 3 != 0)
            options.with_id3v2(tag, i % 2 ? testing::id3v2_encoding::utf16 : testing::id3v2_encoding::latin1);
        if (i % 3 != 1)
            options.with_id3v1(tag);
        testing::write_mp3(path, options);
        paths.push_back(path);
    }
    paths.push_back(folder.file("missing.mp3"));
    std::vector<std::optional<std::string>> one_thread;
    for (const std::string& path : paths)
        one_thread.push_back(info(path));

    constexpr int threads = 4;
    std::vector<int> differing(threads, 0);
    std::vector<std::thread> readers;
    for (int t = 0; t < threads; ++t)
        readers.emplace_back([&, t] {
            for (int round = 0; round < 5; ++round)
                for (std::size_t i = 0; i < paths.size(); ++i) {
                    const std::size_t at = (i + static_cast<std::size_t>(t) * 11) % paths.size(); // staggered
                    if (info(paths[at]) != one_thread[at])
                        ++differing[t];
                }
        });
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(differing, std::vector<int>(threads, 0));
}

TEST_F(ResourcePlugin, DurationOrMinusOne) {
    const auto duration = library.function<karvo_get_media_duration_fn>("_get_media_duration");
    ASSERT_NE(duration, nullptr);
    testing::write_mp3(folder.file("five.mp3"), mp3_options().with_frames(200));
    testing::write_bytes(folder.file("text.mp3"), {'n', 'o'});
    EXPECT_EQ(duration(folder.file("five.mp3").c_str()), 5);
    EXPECT_EQ(duration(folder.file("text.mp3").c_str()), -1);
    EXPECT_EQ(duration(folder.file("missing.mp3").c_str()), -1);
}

TEST_F(ResourcePlugin, AnnouncesMediaTypesWithDistinctIcons) {
    const string_list extensions = list("_get_new_extensions");
    const string_list descriptions = list("_get_new_descriptions");
    ASSERT_EQ(extensions.size(), descriptions.size());
    for (const char* required :
         {"MP3", "MP2", "WAV", "OGG", "OPUS", "FLAC", "M4A", "AAC", "WMA", "MPC", "APE", "AIF", "AIFF", "WV"})
        EXPECT_NE(std::find(extensions.begin(), extensions.end(), required), extensions.end()) << required;
    EXPECT_EQ(extensions.front(), "MP3");
    EXPECT_EQ(descriptions.front(), "MPEG Layer 3");
    EXPECT_EQ(std::count(descriptions.begin(), descriptions.end(), ""), 0);

    const auto icon = library.function<karvo_get_icon_resource_fn>("_get_icon_resource");
    ASSERT_NE(icon, nullptr);
    std::set<std::vector<unsigned char>> distinct;
    const std::vector<unsigned char> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (int32_t id = 1; id <= static_cast<int32_t>(extensions.size()); ++id) {
        int32_t size = 0;
        const unsigned char* bytes = icon(id, &size);
        ASSERT_NE(bytes, nullptr) << id;
        ASSERT_GT(size, 24);
        const std::vector<unsigned char> png(bytes, bytes + size);
        EXPECT_TRUE(std::equal(signature.begin(), signature.end(), png.begin())) << id;
        EXPECT_EQ(png[19], 16); // IHDR width and height, big-endian
        EXPECT_EQ(png[23], 16);
        distinct.insert(png);
    }
    EXPECT_EQ(distinct.size(), extensions.size());
    for (int32_t id : {0, -1, static_cast<int32_t>(extensions.size()) + 1}) {
        int32_t size = 99;
        EXPECT_EQ(icon(id, &size), nullptr);
        EXPECT_EQ(size, 0);
    }
}

TEST_F(ResourcePlugin, NamesSixSlotsThenExtraPlayers) {
    const string_list names = list("_get_player_names");
    const string_list programs = list("_get_filename");
    const string_list locations = list("_get_default_player_locations");
    const string_list urls = list("_get_URL");
    ASSERT_GT(names.size(), 6u);
    EXPECT_EQ(string_list(names.begin(), names.begin() + 6),
              (string_list{"WinAMP", "Sonique", "VLC", "mpv", "Audacious", "NAD"}));
    EXPECT_EQ(programs.size(), names.size());
    EXPECT_EQ(locations.size(), names.size());
    EXPECT_EQ(urls.size(), names.size());
    for (std::size_t i : {0u, 1u, 5u})
        EXPECT_EQ(locations[i], "") << names[i];
    for (std::size_t i = 6; i < names.size(); ++i) {
        // The music daemon is reached over its protocol, not started from a path.
        EXPECT_EQ(locations[i], names[i] == "MPD" ? std::string("mpd") : "/usr/bin/" + programs[i]) << names[i];
        EXPECT_TRUE(urls[i].starts_with("https://")) << names[i];
    }
    const auto version = library.function<karvo_get_version_fn>("_get_version");
    ASSERT_NE(version, nullptr);
    EXPECT_GE(version(), 4.0);
    EXPECT_FALSE(list("_get_plugin_info").empty());
}

} // namespace
} // namespace karvo
