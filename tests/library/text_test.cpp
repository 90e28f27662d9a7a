// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "library/string_list.h"
#include "library/text.h"
#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

namespace karvo {
namespace {

TEST(UpperCase, LettersOfEveryScriptAndInvalidBytes) {
    struct row {
        std::string in, out;
    };
    const row table[] = {
        {"", ""},
        {"abc xyz 123 {}~", "ABC XYZ 123 {}~"},
        {"café", "CAFÉ"},
        {"über", "ÜBER"},
        {"niño", "NIÑO"},
        {"ÉÜÑ", "ÉÜÑ"},
        {"straße", "STRAßE"}, // no single upper-case letter for ß
        {"ÿ", "Ÿ"},           // two bytes become two different bytes
        {"αβγ жук", "ΑΒΓ ЖУК"},
        {"a\xFF"
         "b",
         "A\xFF"
         "B"},            // the separator byte is not a letter
        {"\xC3", "\xC3"}, // truncated sequence at the end
        {"\xC3"
         "a",
         "\xC3"
         "A"}, // lead byte without continuation
        {"\x80"
         "é",
         "\x80"
         "É"},                            // stray continuation byte
        {"\xC0\xA9", "\xC0\xA9"},         // overlong form
        {"\xED\xA0\x80", "\xED\xA0\x80"}, // surrogate
        {"日本", "日本"},
        {"ɐɐɐ", "ⱯⱯⱯ"}, // two bytes become three
        {"ıx", "IX"},    // two bytes become one
        {"az`{@[AZ09 mixed_Case~text\x7F!", "AZ`{@[AZ09 MIXED_CASE~TEXT\x7F!"}, // eight ASCII bytes at a time
        // ASCII before and after other bytes within one eight-byte word
        {"abcdefgé hijklmnoñpqrs\xFFtuvwxyz ü", "ABCDEFGÉ HIJKLMNOÑPQRS\xFFTUVWXYZ Ü"},
    };
    for (const auto& [in, out] : table)
        EXPECT_EQ(upper_case(in), out) << in;
}

TEST(CompareUpper, UnsignedBytesShorterPrefixFirst) {
    struct row {
        std::string a, b;
        int sign;
    };
    const row table[] = {
        {"abc", "ABC", 0},
        {"abc", "abd", -1},
        {"ab", "abc", -1},
        {"abc", "ab", 1},
        {"", "", 0},
        {"", "a", -1},
        {"é", "É", 0},
        {"zebra", "éclair", -1}, // É is above every ASCII byte
        {"Ézé", "éZÉ", 0},
        {"a_", "aB", 1}, // '_' sorts after 'B' once both are upper-cased
        {"128kbits", "96kbits", -1},
        {"x\xFF", "x\x7F", 1},
    };
    for (const auto& [a, b, sign] : table) {
        const int result = compare_upper(a, b);
        EXPECT_EQ((result > 0) - (result < 0), sign) << a << " vs " << b;
    }
}

TEST(NameOrder, AccentedLettersSortWithTheirBaseLetterWithoutRegardToCase) {
    const std::vector<std::vector<std::string>> sorted_lists = {
        {"abba", "Beatles", "cream", "Rock"},
        {"Eagles", "éclair", "Été", "Ewan", "zebra"},
        {"Cafe", "Café", "cafés", "Cage"},
        {"Œuvre", "Ozone"},
        {"Straße", "Strasser", "Strauss"},
        {"Ånge", "Ängel", "Anger", "Zoë"},
        {"ABC", "abc"}, // equal but for case: a fixed order all the same
        {"aB", "a_"}, // '_' after the letters, as upper-cased bytes sort
    };
    for (const auto& expected : sorted_lists) {
        std::vector<std::string> names(expected.rbegin(), expected.rend());
        std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
            return less_case_insensitive(a, b);
        });
        EXPECT_EQ(names, expected);
    }
}

TEST(FileNameText, Extensions) {
    EXPECT_EQ(without_three_letter_extension("song.mp3"), "song");
    EXPECT_EQ(without_three_letter_extension("song.flac"), "song.flac");
    EXPECT_EQ(without_three_letter_extension(".mp3"), ".mp3"); // not longer than four
    EXPECT_EQ(without_three_letter_extension("a.b"), "a.b");

    EXPECT_EQ(upper_extension("/m/song.mP3"), "MP3");
    EXPECT_EQ(upper_extension("/m/a.b.wav"), "WAV");
    EXPECT_EQ(upper_extension("/m/noext"), "");
    EXPECT_EQ(upper_extension("/m.d/noext"), "");
    EXPECT_EQ(upper_extension("/m/trail."), "");
}

TEST(StringList, LineEndsAndFiles) {
    struct row {
        std::string text;
        string_list lines;
    };
    const row table[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\rc", {"a", "b", "c"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"\r\n", {""}},
        // A CR LF across the reader's first block boundary, and a line longer than a block.
        {std::string((1 << 20) - 1, 'x') + "\r\ny", {std::string((1 << 20) - 1, 'x'), "y"}},
        {std::string(3 << 19, 'z') + "\r" + "w\n", {std::string(3 << 19, 'z'), "w"}},
    };
    testing::temp_folder folder;
    for (const auto& [text, lines] : table) {
        EXPECT_EQ(split_lines(text), lines) << text.size();
        const std::string file = folder.file("read.txt");
        ASSERT_TRUE(platform::write_file_atomic(file, text));
        string_list read;
        std::uint64_t size = 0;
        for_each_line(file, [&size](std::uint64_t bytes) { size = bytes; },
                      [&read](std::string_view line) { read.emplace_back(line); });
        EXPECT_EQ(read, lines) << text.size();
        EXPECT_EQ(size, text.size());
    }
    EXPECT_EQ(join_lines({"a", "", "b"}), "a\r\n\r\nb\r\n");

    const std::string path = folder.file("list.txt");
    EXPECT_TRUE(load_lines(path).empty());
    const string_list lines = {"one", "dé\xFF", ""};
    ASSERT_TRUE(save_lines(path, lines));
    EXPECT_EQ(load_lines(path), lines);
    // A folder in the way: the save fails and reports it.
    EXPECT_FALSE(save_lines(folder.file("missing/list.txt"), lines));
}

} // namespace
} // namespace karvo
