// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/id3_class.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "platform/cp1252.h"
#include "platform/testing/scripted_prompts.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

namespace karvo {
namespace {

namespace fs = std::filesystem;
using testing::read_raw;
using testing::temp_folder;
using testing::write_raw;

std::string padded(std::string text, std::size_t width, char pad = ' ') {
    text.resize(width, pad);
    return text;
}

// A tag block from raw field bytes, as another program may have written it.
std::string raw_block(const std::string& title, const std::string& artist, const std::string& album,
                      const std::string& year, const std::string& comment, unsigned char genre, char pad = ' ') {
    return "TAG" + padded(title, 30, pad) + padded(artist, 30, pad) + padded(album, 30, pad) + padded(year, 4, pad) +
           padded(comment, 30, pad) + static_cast<char>(genre);
}

std::string mp3_bytes(const testing::mp3_options& options) {
    const auto bytes = testing::make_mp3(options);
    return {bytes.begin(), bytes.end()};
}

TEST(Id3GenreTable, NamesByNumberAsTheProgramSpellsThem) {
    struct row {
        int number;
        const char* name;
    };
    const row table[] = {
        {0, "Blues"},
        {29, "Jazz Funk"},
        {30, "Fusion"},
        {40, "Alt.Rock"},
        {60, "Top 4"},
        {67, "Psychadelic"},
        {81, "Folk/Rock"},
        {84, "Fusion"},
        {93, "Psychedelic Rock"},
        {109, "Porn Groove"},
        {110, "Satire"},
        {111, ""},
        {255, ""},
        {-1, ""},
    };
    const id3_class main_window;
    const id3_2_class editor;
    EXPECT_EQ(id3_genre_table().size(), 111u);
    EXPECT_EQ(main_window.genres, editor.genres);
    EXPECT_EQ(main_window.text, "0");
    for (const auto& [number, name] : table) {
        EXPECT_EQ(editor.genre_name(number), name) << number;
        EXPECT_EQ(main_window.genre_name(number), name) << number;
    }
}

TEST(Cp1252, EveryByteReadsBackAndUnencodableTextBecomesQuestionMarks) {
    constexpr std::size_t all = std::string::npos; // the whole text fits
    struct row {
        std::string utf8;
        std::string bytes;
        std::size_t limit;
        std::size_t fitting;
    };
    const row table[] = {
        {"Plain ASCII", "Plain ASCII", 30, all},
        {"Café Müller", "Caf\xE9 M\xFCller", 30, all},
        {"€‚ƒ„…†‡ˆ‰Š‹ŒŽ", "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E", 30, all},
        {"\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122š›œžŸ",
         "\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F", 30, all},
        {"\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D", 30, all}, // the undefined bytes
        {"日本 ☃ 😀", "?? ? ?", 30, all}, // one '?' per character, whatever its UTF-8 length
        {"a\xFF"
         "b\xC3",
         "a?b?", 30, all},         // invalid bytes
        {"ééé", "\xE9\xE9", 2, 4}, // the limit counts encoded bytes and never cuts a character
        {"abcd", "ab", 2, 2},
    };
    for (const auto& [utf8, bytes, limit, fitting] : table) {
        EXPECT_EQ(platform::encode_utf8_to_cp1252(utf8, limit), bytes) << utf8;
        EXPECT_EQ(platform::utf8_prefix_fitting_cp1252(utf8, limit), fitting == all ? utf8.size() : fitting) << utf8;
        if (bytes.find('?') == std::string::npos && fitting == all) {
            EXPECT_EQ(platform::decode_cp1252_to_utf8(bytes), utf8) << utf8;
        }
    }
    std::string every_byte;
    for (int b = 0; b < 256; ++b)
        every_byte += static_cast<char>(b);
    EXPECT_EQ(platform::encode_utf8_to_cp1252(platform::decode_cp1252_to_utf8(every_byte)), every_byte);
}

// What a file in the folder is, for the bad-input rows.
enum class kind { bytes, directory, fifo, dangling_link };

struct fixture_file {
    kind what = kind::bytes;
    std::string content;
};

std::string make(const temp_folder& tmp, const fixture_file& f) {
    const std::string path = tmp.file("x.mp3");
    switch (f.what) {
        case kind::bytes: write_raw(path, f.content); break;
        case kind::directory: fs::create_directory(path); break;
        case kind::fifo: ::mkfifo(path.c_str(), 0644); break;
        case kind::dangling_link: fs::create_symlink(tmp.file("gone.mp3"), path); break;
    }
    return path;
}

TEST(Id3Read, FieldsEndAtTheirFirstZeroAndKeepTrailingSpaces) {
    testing::tag_fields v1;
    v1.title = "Zero Padded";
    v1.artist = "Ärtist";
    v1.album = "Album";
    v1.year = 1999;
    v1.comment = "Note";
    v1.genre = "Disco";
    const std::string audio = mp3_bytes(testing::mp3_options().with_frames(2));
    const std::string v2_and_v1 =
        mp3_bytes(testing::mp3_options().with_frames(2).with_id3v2(testing::title_tag("v2 title")).with_id3v1(v1));
    const std::string not_a_tag = audio + "TAG" + std::string(124, '\x01') + "\x07";

    struct row {
        const char* name;
        fixture_file file;
        bool found;
        id3_tag tag;
        bool v2;
    };
    const row table[] = {
        {"v2 and v1", {kind::bytes, v2_and_v1}, true, {"Zero Padded", "Ärtist", "Album", "1999", "Note", 4}, true},
        {"space padded",
         {kind::bytes, audio + raw_block("Song", "Art", "", "2001", "c", 17)},
         true,
         {padded("Song", 30), padded("Art", 30), padded("", 30), "2001", padded("c", 30), 17},
         false},
        {"zero title, spaces after",
         {kind::bytes, audio + raw_block("", "Artist", "Album", "1", "", 0, '\0')},
         true,
         {"", "Artist", "Album", "1", "", 0},
         false},
        {"CP1252 text",
         {kind::bytes, audio + raw_block("Caf\xE9 \x80", "\x9F", "x", "", "", 110, '\0')},
         true,
         {"Café €", "Ÿ", "x", "", "", 110},
         false},
        {"no tag", {kind::bytes, audio}, false, {}, false},
        {"127 bytes", {kind::bytes, "TAG" + std::string(124, 'a')}, false, {}, false},
        {"TAG by chance",
         {kind::bytes, not_a_tag},
         true,
         {std::string(30, '\x01'), std::string(30, '\x01'), std::string(30, '\x01'), std::string(4, '\x01'),
          std::string(30, '\x01'), 7},
         false},
        {"directory", {kind::directory, {}}, false, {}, false},
        {"fifo", {kind::fifo, {}}, false, {}, false},
        {"dangling link", {kind::dangling_link, {}}, false, {}, false},
    };
    for (const row& r : table) {
        temp_folder tmp;
        const std::string path = make(tmp, r.file);
        platform::scripted_prompts prompts;
        id3_2_class editor(&prompts);
        id3_tag tag{"stale", "stale", "stale", "stale", "stale", 1};
        EXPECT_EQ(editor.read_tag(path, tag), r.found) << r.name;
        EXPECT_EQ(tag, r.tag) << r.name;
        EXPECT_EQ(has_id3v2_tag(path), r.v2) << r.name;
        EXPECT_TRUE(prompts.questions().empty()) << r.name; // none of these is an error to report
    }
}

struct write_row {
    const char* name;
    fixture_file file;
    id3_tag tag;
    std::string expected_block; // empty: the write fails and the file stays as it was
    std::size_t expected_size;
};

TEST(Id3Write, OverwritesOnlyATagBlockAndAppendsOtherwise) {
    const std::string audio = mp3_bytes(testing::mp3_options().with_frames(2));
    const std::string old_tag = raw_block("Old", "Old", "Old", "1990", "Old", 3);
    const id3_tag tag{"Title", "Artist", "Album", "2024", "Comment", 17};
    const std::string block = raw_block("Title", "Artist", "Album", "2024", "Comment", 17);
    const write_row table[] = {
        {"no tag: appended", {kind::bytes, audio}, tag, block, audio.size() + 128},
        {"tag: overwritten in place", {kind::bytes, audio + old_tag}, tag, block, audio.size() + 128},
        {"127 bytes: appended", {kind::bytes, std::string(127, 'a')}, tag, block, 255},
        {"TAG 129 bytes before the end: appended",
         {kind::bytes, audio + old_tag + "x"},
         tag,
         block,
         audio.size() + 257},
        {"long texts cut, short year padded",
         {kind::bytes, audio},
         {std::string(31, 't'), std::string(29, 'a') + "éé", "Ωmega ☃", "99", std::string(40, 'c'), -1},
         "TAG" + std::string(30, 't') + std::string(29, 'a') + "\xE9" + padded("?mega ?", 30) + "99  " +
             std::string(30, 'c') + "\xFF",
         audio.size() + 128},
        {"a track beside a comment of 28 bytes: ID3v1.1",
         {kind::bytes, audio},
         {"T", "", "", "", std::string(28, 'c'), 17, 5},
         raw_block("T", "", "", "", std::string(28, 'c') + std::string("\0\x05", 2), 17),
         audio.size() + 128},
        {"a longer comment wins over the track",
         {kind::bytes, audio},
         {"T", "", "", "", std::string(29, 'c'), 17, 5},
         raw_block("T", "", "", "", std::string(29, 'c'), 17),
         audio.size() + 128},
        {"directory", {kind::directory, {}}, tag, "", 0},
        {"fifo", {kind::fifo, {}}, tag, "", 0},
        {"dangling link", {kind::dangling_link, {}}, tag, "", 0},
    };
    for (const write_row& r : table) {
        temp_folder tmp;
        const std::string path = make(tmp, r.file);
        if (r.file.what == kind::bytes) {
            const timespec past[2] = {{946684800, 0}, {946684800, 0}};
            ::utimensat(AT_FDCWD, path.c_str(), past, 0);
        }
        platform::scripted_prompts prompts;
        prompts.answer_message(platform::message_result::ok);
        id3_2_class editor(&prompts);
        const bool written = editor.write_tag(path, r.tag);
        EXPECT_EQ(written, !r.expected_block.empty()) << r.name;
        if (!written) {
            EXPECT_EQ(prompts.message_texts(), std::vector<std::string>{"Can't Read from File."}) << r.name;
            EXPECT_EQ(prompts.questions().at(0).caption, "File Error") << r.name;
            EXPECT_EQ(prompts.questions().at(0).buttons, platform::message_buttons::ok_cancel) << r.name;
            EXPECT_FALSE(fs::exists(tmp.file("gone.mp3"))) << r.name;
            continue;
        }
        const std::string after = read_raw(path);
        ASSERT_EQ(after.size(), r.expected_size) << r.name;
        EXPECT_EQ(after.substr(after.size() - 128), r.expected_block) << r.name;
        EXPECT_EQ(after.substr(0, std::min(r.file.content.size(), after.size() - 128)),
                  r.file.content.substr(0, std::min(r.file.content.size(), after.size() - 128)))
            << r.name; // the audio before the tag is untouched
        struct stat st {};
        ::stat(path.c_str(), &st);
        EXPECT_GT(st.st_mtime, 946684800) << r.name;
        id3_tag back;
        EXPECT_TRUE(editor.read_tag(path, back)) << r.name;
        const bool v11 = r.expected_block[125] == '\0' && r.expected_block[126] != '\0';
        EXPECT_EQ(back.track, v11 ? static_cast<unsigned char>(r.expected_block[126]) : 0) << r.name;
        EXPECT_EQ(editor.write_tag(path, r.tag), true) << r.name; // a second write overwrites in place
        EXPECT_EQ(read_raw(path), after) << r.name;
    }
}

TEST(Id3Write, AWriteCutShortLeavesTheFileAsItWas) {
    temp_folder tmp;
    const std::string audio = mp3_bytes(testing::mp3_options().with_frames(2));
    const std::string tagged = audio + raw_block("Old", "", "", "", "", 1);
    // The file-size limit stops the write part-way, as a full disk would.
    struct row {
        const char* name;
        std::string content;
        std::size_t size_limit;
    };
    const row table[] = {{"append", audio, audio.size() + 10}, {"overwrite", tagged, tagged.size() - 64}};
    for (const auto& [name, content, size_limit] : table) {
        const std::string path = tmp.file(std::string(name) + ".mp3");
        write_raw(path, content);
        platform::scripted_prompts prompts;
        prompts.answer_message(platform::message_result::ok);
        id3_2_class editor(&prompts);
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        const auto old_handler = ::signal(SIGXFSZ, SIG_IGN);
        rlimit tight = saved;
        tight.rlim_cur = size_limit;
        ::setrlimit(RLIMIT_FSIZE, &tight);
        const bool written = editor.write_tag(path, {"New title", "", "", "", "", 2});
        ::setrlimit(RLIMIT_FSIZE, &saved);
        ::signal(SIGXFSZ, old_handler);
        EXPECT_FALSE(written) << name;
        EXPECT_EQ(read_raw(path), content) << name;
        EXPECT_EQ(prompts.message_texts(), std::vector<std::string>{"Can't Read from File."}) << name;
    }
}

// Another tag reader must see what the program wrote.
TEST(Id3Write, ReadsBackTheSameInAnotherTagReader) {
    std::string python;
    for (const char* candidate : {"python3", "/usr/bin/python3"}) {
        if (std::system((std::string(candidate) + " -c 'import mutagen' 2>/dev/null").c_str()) == 0) {
            python = candidate;
            break;
        }
    }
    if (python.empty())
        GTEST_SKIP() << "python3-mutagen is not installed; the read-back is skipped";
    const id3_tag table[] = {
        {"Title", "Artist", "Album", "2024", "Comment", 17},
        {"Café crème", "Ñandú", "Öl", "1999", "Grüße", 84},
        {std::string(35, 'L'), "x", "", "", "", 0},
    };
    temp_folder tmp;
    const std::string script = tmp.file("read.py");
    write_raw(script, "import sys\nfrom mutagen.id3 import ParseID3v1\n"
                      "data = open(sys.argv[1], 'rb').read()[-128:]\nf = ParseID3v1(data)\n"
                      "def t(k):\n    return str(f[k].text[0]) if k in f else ''\n"
                      "sys.stdout.buffer.write('|'.join([t('TIT2'), t('TPE1'), t('TALB'), t('TDRC'), t('COMM'),"
                      " t('TCON')]).encode('utf-8'))\n");
    const std::string audio = mp3_bytes(testing::mp3_options().with_frames(2));
    const auto trimmed = [](std::string s) {
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        return s;
    };
    int n = 0;
    for (const id3_tag& tag : table) {
        const std::string path = tmp.file("t" + std::to_string(++n) + ".mp3");
        write_raw(path, audio);
        id3_2_class editor;
        ASSERT_TRUE(editor.write_tag(path, tag));
        id3_tag back;
        ASSERT_TRUE(editor.read_tag(path, back));
        FILE* out = ::popen((python + " " + script + " " + path).c_str(), "r");
        ASSERT_NE(out, nullptr);
        std::string seen;
        char buffer[512];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, out)) > 0;)
            seen.append(buffer, got);
        EXPECT_EQ(::pclose(out), 0);
        EXPECT_EQ(seen, trimmed(back.title) + "|" + trimmed(back.artist) + "|" + trimmed(back.album) + "|" +
                            trimmed(back.year) + "|" + trimmed(back.comment) + "|" + std::to_string(back.genre))
            << tag.title;
    }
}

} // namespace
} // namespace karvo
