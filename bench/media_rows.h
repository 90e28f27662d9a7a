// SPDX-License-Identifier: GPL-3.0-or-later
// Media info strings generated like the entries of a real collection: paths of 60-120 bytes under a few thousand
// album folders, about 2,000 artists and 5,000 albums, a dozen tracks per album in a row, the fields the resource
// plug-in fills (channels, file size, track, codec, modification time).
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "library/media_entry.h"

namespace karvo::bench {

inline constexpr int bench_artists = 2000;
inline constexpr int bench_albums = 5000;

// Deterministic words from a few syllables, some accented, so keys share prefixes as real tags do.
inline std::string make_word(std::uint32_t& state, int syllables_at_least) {
    static const char* const syllables[] = {"ka", "ro", "mé", "li", "su", "an", "TO", "ne", "ül", "ba", "ço", "di"};
    std::string word;
    state = state * 1664525u + 1013904223u;
    const int length = syllables_at_least + static_cast<int>((state >> 8) % 3);
    for (int k = 0; k < length; ++k) {
        state = state * 1664525u + 1013904223u;
        word += syllables[(state >> 16) % 12];
    }
    word[0] = static_cast<char>(word[0] >= 'a' && word[0] <= 'z' ? word[0] - 'a' + 'A' : word[0]);
    return word;
}

inline std::vector<std::string> make_media_infos(int count) {
    static const char* const genres[] = {"Rock", "Jazz", "Pop", "Blues", "Classical", "Folk", "Metal", "Soul"};
    static const char* const bit_rates[] = {"128", "192", "256", "320"};
    std::uint32_t state = 12345;
    std::vector<std::string> artists;
    for (int k = 0; k < bench_artists; ++k)
        artists.push_back(make_word(state, 2) + (k % 3 ? " " + make_word(state, 2) : ""));
    std::vector<std::string> albums;
    for (int k = 0; k < bench_albums; ++k)
        albums.push_back(make_word(state, 2) + " " + make_word(state, 1));

    std::vector<std::string> infos;
    infos.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        const int album = (row / 12) % bench_albums;
        const int artist = (album * 7) % bench_artists;
        const int track = row % 12 + 1;
        // The file name takes as many words as bring the path to a length spread evenly over 60-120 bytes.
        const std::string folder = "/home/user/Music/" + artists[static_cast<std::size_t>(artist)] + "/" +
                                   albums[static_cast<std::size_t>(album)] + "/" + (track < 10 ? "0" : "") +
                                   std::to_string(track) + "_";
        const std::string extension = row % 9 ? ".mp3" : ".flac";
        state = state * 1664525u + 1013904223u;
        const std::size_t wanted = 60 + (state >> 8) % 61;
        std::string song = make_word(state, 2);
        while (folder.size() + song.size() + extension.size() < wanted)
            song += " " + make_word(state, 1);
        song.resize(std::max<std::size_t>(wanted - std::min(wanted, folder.size() + extension.size()), 1));
        // The cut may leave a space or the first byte of an accented letter.
        if (song.back() == ' ' || static_cast<unsigned char>(song.back()) >= 0xC0)
            song.back() = 'a';
        karvo::media_fields fields;
        fields[0] = folder + song + extension;
        fields[1] = song;
        fields[2] = artists[static_cast<std::size_t>(artist)];
        fields[3] = albums[static_cast<std::size_t>(album)];
        fields[4] = std::to_string(1960 + album % 60);
        fields[5] = row % 7 ? "" : "Ripped at home";
        fields[6] = genres[album % 8];
        fields[7] = std::to_string(120 + (row * 37) % 360);
        fields[8] = "2";
        fields[9] = std::to_string(3000000 + (row * 7919) % 9000000);
        fields[10] = std::to_string(track);
        fields[11] = album % 5 ? "44100" : "48000";
        fields[12] = bit_rates[album % 4];
        fields[13] = row % 9 ? "MPEG" : "FLAC";
        fields[14] = "2021-" + std::to_string(10 + row % 3) + "-1" + std::to_string(row % 10) + " 1" +
                     std::to_string(row % 10) + ":" + std::to_string(10 + row % 50) + ":" +
                     std::to_string(10 + row % 49);
        infos.push_back(karvo::make_media_info(fields));
    }
    return infos;
}

} // namespace karvo::bench
