// SPDX-License-Identifier: GPL-3.0-or-later
// Writes small, valid media files for tests and benchmarks: MPEG-1 Layer III files made of silent frames, with
// optional ID3v2.3 and ID3v1 tags, and PCM WAV files. Nothing here depends on a test framework.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace karvo::testing {

enum class id3v2_encoding { latin1, utf16 };

// Tag texts are UTF-8. In a Latin-1 or ID3v1 tag, characters beyond U+00FF become '?'.
struct tag_fields {
    std::string title, artist, album, comment, genre;
    int year = 0;  // 0: not written
    int track = 0; // 0: not written
};

struct mp3_options {
    int bit_rate = 128;      // kbit/s, one of the MPEG-1 Layer III rates (32-320)
    int sample_rate = 44100; // 32000, 44100 or 48000
    bool mono = false;
    int frames = 40; // 1152 samples each
    std::optional<tag_fields> id3v2;
    id3v2_encoding encoding = id3v2_encoding::latin1;
    std::optional<tag_fields> id3v1; // genre: ID3v1 genre name; written as its number when known, else 255

    // Setters for building options in one expression.
    mp3_options& with_rate(int kbit_per_second, int hertz) {
        bit_rate = kbit_per_second;
        sample_rate = hertz;
        return *this;
    }
    mp3_options& with_mono() {
        mono = true;
        return *this;
    }
    mp3_options& with_frames(int count) {
        frames = count;
        return *this;
    }
    mp3_options& with_id3v2(tag_fields tag, id3v2_encoding text_encoding = id3v2_encoding::latin1) {
        id3v2 = std::move(tag);
        encoding = text_encoding;
        return *this;
    }
    mp3_options& with_id3v1(tag_fields tag) {
        id3v1 = std::move(tag);
        return *this;
    }
};

// A tag with only a title and an artist.
inline tag_fields title_tag(std::string title, std::string artist = {}) {
    tag_fields tag;
    tag.title = std::move(title);
    tag.artist = std::move(artist);
    return tag;
}

// The bytes of such a file.
std::vector<unsigned char> make_mp3(const mp3_options& options);
// Bytes of a PCM WAV file of silence.
std::vector<unsigned char> make_wav(int sample_rate, int channels, int bits_per_sample, double seconds);

// A new folder under the system's temporary folder, removed with its contents on destruction.
class fixture_folder {
public:
    fixture_folder();
    ~fixture_folder();
    fixture_folder(const fixture_folder&) = delete;
    fixture_folder& operator=(const fixture_folder&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const; // path() + "/" + name

private:
    std::string path_;
};

// Writes bytes to a file (replacing it atomically); throws std::runtime_error when it cannot.
void write_bytes(const std::string& path, const std::vector<unsigned char>& bytes);
void write_mp3(const std::string& path, const mp3_options& options);
void write_wav(const std::string& path, int sample_rate, int channels, int bits_per_sample, double seconds);

// One second of stereo silence in the format the file's extension names, titled "Old", made by ffmpeg; false when
// ffmpeg is missing or fails.
bool write_silence_with_ffmpeg(const std::string& path);

// Size in bytes of one frame of the given rate.
int mp3_frame_size(int bit_rate, int sample_rate);

} // namespace karvo::testing
