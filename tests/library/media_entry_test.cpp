// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "library/media_entry.h"

namespace karvo {
namespace {

media_fields numbered_fields() {
    media_fields fields;
    for (int k = 0; k < info_field_count; ++k)
        fields[k] = "f" + std::to_string(k);
    return fields;
}

TEST(MediaInfo, ParseAndMake) {
    const media_fields fields = numbered_fields();
    const std::string info = make_media_info(fields);
    EXPECT_EQ(std::count(info.begin(), info.end(), info_separator), 16);
    EXPECT_EQ(info.substr(info.size() - 2), "\xFF\xFF");
    EXPECT_EQ(parse_media_info(info), fields);

    // Without the closing separator every field is still there; text after the last separator is dropped.
    EXPECT_EQ(parse_media_info(info.substr(0, info.size() - 1)), fields);
    EXPECT_EQ(parse_media_info(info + "junk"), fields);
    const media_fields cut = parse_media_info(info.substr(0, info.size() - 2) + "tail");
    EXPECT_EQ(cut[13], "f13");
    EXPECT_EQ(cut[14], "");

    // Short or empty strings leave the missing fields empty.
    const media_fields few = parse_media_info("/a.mp3\xFFSong\xFF");
    EXPECT_EQ(few[0], "/a.mp3");
    EXPECT_EQ(few[1], "Song");
    EXPECT_EQ(few[2], "");
    EXPECT_EQ(parse_media_info(""), media_fields{});
    EXPECT_EQ(parse_media_info("no separator"), media_fields{});
}

TEST(MediaName, SwitchesInOrder) {
    const name_switches all;
    name_switches none;
    none.strip_extension = none.underscore_to_space = none.percent20_to_space = none.dot_to_space =
        none.remove_brackets = false;
    name_switches only_dots = none;
    only_dots.dot_to_space = true;
    only_dots.strip_extension = true;
    name_switches keep_brackets = all;
    keep_brackets.remove_brackets = false;

    struct row {
        std::string path;
        name_switches switches;
        std::string name;
    };
    const row table[] = {
        {"/music/my_song%20(live).mp3", all, "my song live"},
        {"/music/a.b.c.mp3", only_dots, "a b c"},
        {"/music/song.flac", all, "song.flac"},
        {"/music/my_song%20(live).mp3", none, "my_song%20(live).mp3"},
        {"/music/a%20%20b__c.mp3", all, "a  b  c"},
        {"/music/[a]{b}(c).ogg", keep_brackets, "[a]{b}(c)"},
        {"/music/[a]{b}(c).ogg", all, "abc"},
        {"/music/x.y_z.mp3", none, "x.y_z.mp3"},
        {"/music.d/noext", all, "noext"},
        {"/music/v1.2.wav", all, "v1 2"},
        {"plain.mp3", all, "plain"},
        {"/m/x_(1).tar.gz", all, "x 1 tar.gz"},
        {"/m/x%20(1).tar.gz", all, "x 1 tar.gz"},
        {"/m/(a).b.mp3", only_dots, "(a) b"},
    };
    for (const auto& [path, switches, name] : table)
        EXPECT_EQ(derive_media_name(path, switches), name) << path;
}

TEST(MediaLength, Formatting) {
    struct row {
        std::string seconds, length;
    };
    const row table[] = {
        {"", ""},
        {"0", ""},
        {"abc", ""},
        {"-5", ""},
        {"5", "00:05"},
        {"59", "00:59"},
        {"60", "01:00"},
        {"200", "03:20"},
        {"3599", "59:59"},
        {"3600", "01:00:00"},
        {"3725", "01:02:05"},
        {"36000", "10:00:00"},
        {"360000", "100:00:00"},
    };
    for (const auto& [seconds, length] : table)
        EXPECT_EQ(format_length(seconds), length) << seconds;
}

TEST(MediaQuality, PlaylistAndFolderRules) {
    struct row {
        std::string path, quality, rate, playlist, folder;
    };
    const row table[] = {
        {"/a.mp3", "128", "44100", "128kbits", "128kbits"},
        {"/a.MP3", "128kbits", "44100", "128kbits", "128kbitskbits"},
        {"/a.wav", "1411", "44100", "44100Hz", "44100hz"},
        {"/a.Wav", "44100Hz", "48000", "44100Hz", "48000hz"},
        {"/a.flac", "900", "44100", "900", "900"},
        {"/a", "x", "1", "x", "x"},
    };
    for (const auto& [path, quality, rate, playlist, folder] : table) {
        EXPECT_EQ(derive_quality(path, quality, rate), playlist) << path << " " << quality;
        EXPECT_EQ(derive_folder_quality(path, quality, rate), folder) << path << " " << quality;
    }
}

} // namespace
} // namespace karvo
