// SPDX-License-Identifier: GPL-3.0-or-later
// Random names of every byte class through every playlist writer of the program and back: what it writes, it reads
// back as the same entries. KARVO_ROUND_TRIP_CASES (default 300) and KARVO_ROUND_TRIP_SEED explore further.
#include <cstdlib>
#include <stdlib.h>
#include <filesystem>
#include <random>

#include <gtest/gtest.h>

#include "library/media_entry.h"
#include "library/mp3_cd_class.h"
#include "library/playlist_class.h"
#include "library/playlist_files.h"
#include "tests/support/raw_file.h"

namespace karvo {
namespace {

namespace fs = std::filesystem;

unsigned long long from_environment(const char* name, unsigned long long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

// One piece of a name from each class: control bytes, 0x7F, Windows-1252-only characters (as UTF-8 and as raw
// bytes), other bytes that are not UTF-8, letters beyond the BMP, blanks, and the characters playlist formats and
// players treat specially.
std::string random_piece(std::mt19937_64& random) {
    static const std::vector<std::string> pieces = {
        "a",
        "Z",
        "0",
        " ",
        "  ",
        "#",
        "%",
        "%20",
        "&",
        "&amp;",
        "'",
        "\"",
        ",",
        ";",
        "=",
        "-",
        "--x",
        "\\",
        ":",
        "[1]",
        "~",
        "+",
        "?",
        "<",
        ">",
        ".",
        "file:",
        "http:x",
        "\t",
        "\r",
        "\n",
        "\r\n",
        "\x01",
        "\x1B",
        "\x1F",
        "\x7F",
        "\xE2\x82\xAC",
        "\xE2\x80\x9E",
        "\xC5\x93",
        "\x80",
        "\x9F",
        "\x81",
        "\xE9",
        "\xC3",
        "\xFF",
        "\xC0\xAF",
        "\xED\xA0\x80",
        "\xC3\xA9",
        "\xC3\x89t\xC3\xA9",
        "\xF0\x9F\x8E\xB5",
        "\xF0\x90\x8D\x88",
        "\xEF\xBB\xBF",
        "\xE4\xB8\xAD",
    };
    return pieces[random() % pieces.size()];
}

std::string random_name(std::mt19937_64& random) {
    for (;;) {
        std::string name;
        const int count = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < count; ++i)
            name += random_piece(random);
        if (random() % 4 == 0)
            name += ".mp3";
        if (name != "." && name != "..")
            return name;
    }
}

// Every write is made durable (fsync): in memory the few thousand writes take seconds, not minutes.
struct memory_folder {
    std::string path;
    memory_folder() {
        std::string pattern =
            (fs::is_directory("/dev/shm") ? std::string("/dev/shm") : fs::temp_directory_path().string()) +
            "/karvo-round-trip-XXXXXX";
        path = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~memory_folder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    std::string file(const std::string& name) const { return path + "/" + name; }
};

struct round_trip : ::testing::Test {
    memory_folder data;
    std::string music = data.file("music");
    std::string lists = data.file("lists");

    void SetUp() override {
        fs::create_directory(music);
        fs::create_directory(lists);
    }

    string_list read_back(const std::string& file, playlist_format format) {
        const playlist_read read = read_playlist(file, format, {});
        EXPECT_EQ(read.report.error, "") << file;
        EXPECT_EQ(read.report.cp1252_lines, 0) << file;
        string_list paths;
        for (const auto& entry : read.entries)
            paths.push_back(entry.path);
        return paths;
    }
};

TEST_F(round_trip, every_writer_reads_back_the_entries_it_wrote) {
    const unsigned long long seed = from_environment("KARVO_ROUND_TRIP_SEED", 20261209);
    const unsigned long long cases = from_environment("KARVO_ROUND_TRIP_CASES", 300);
    std::mt19937_64 random(seed);
    playlist_class playlists(data.path);
    mp3_cd_class media_cds(data.path);
    for (unsigned long long n = 0; n < cases; ++n) {
        // Half the cases name files that exist, half files that are gone.
        const bool exist = n % 2 == 0;
        string_list paths, relative;
        const int count = 1 + static_cast<int>(random() % 5);
        for (int i = 0; i < count; ++i) {
            const std::string name = random_name(random);
            relative.push_back("music/" + name);
            paths.push_back(data.path + "/" + relative.back());
            if (exist)
                testing::write_raw(paths.back(), "");
        }
        const std::string label = "seed " + std::to_string(seed) + ", case " + std::to_string(n);
        std::vector<playlist_row> rows;
        for (const auto& path : paths)
            rows.push_back({path, random_name(random), random_name(random), 60});

        struct writer {
            const char* file;
            playlist_format format;
            m3u_form form;
        } writers[] = {{"plain.m3u", playlist_format::m3u, m3u_form::plain},
                       {"extended.m3u", playlist_format::m3u, m3u_form::extended},
                       {"list.pls", playlist_format::pls, m3u_form::plain},
                       {"list.xspf", playlist_format::xspf, m3u_form::plain}};
        for (const auto& w : writers) {
            const std::string file = lists + "/" + w.file;
            const export_result written = write_playlist(file, w.format, rows, w.form);
            ASSERT_TRUE(written.written) << label << " " << w.file;
            EXPECT_EQ(written.left_out, 0) << label << " " << w.file;
            ASSERT_EQ(read_back(file, w.format), paths) << label << " " << w.file;
        }
        ASSERT_TRUE(write_temp_playlist(lists, paths)) << label;
        ASSERT_EQ(read_back(temp_playlist_path(lists), playlist_format::m3u), paths) << label << " temp list";

        // The stores hold media info strings: a path holding 0xFF cannot be an entry there.
        string_list lines, cd_lines, stored_paths, stored_relative;
        for (std::size_t i = 0; i < paths.size(); ++i) {
            if (paths[i].find(info_separator) != std::string::npos)
                continue;
            media_fields fields;
            fields[0] = paths[i];
            lines.push_back(make_media_info(fields));
            fields[0] = relative[i];
            cd_lines.push_back(make_media_info(fields));
            stored_paths.push_back(paths[i]);
            stored_relative.push_back(relative[i]);
        }
        ASSERT_TRUE(playlists.save("round trip", lines)) << label;
        ASSERT_EQ(full_paths_of(playlists.load("round trip")), stored_paths) << label << " .spl";
        ASSERT_TRUE(media_cds.save("round trip", cd_lines)) << label;
        ASSERT_EQ(full_paths_of(media_cds.load("round trip")), stored_relative) << label << " .vmc";

        if (exist)
            for (const auto& entry : fs::directory_iterator(music))
                fs::remove(entry.path());
    }
}

} // namespace
} // namespace karvo
