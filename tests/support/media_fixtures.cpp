// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/media_fixtures.h"

#include <cstdlib>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace karvo::testing {
namespace {

using bytes = std::vector<unsigned char>;

constexpr std::array<int, 14> layer3_bit_rates = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr std::array<int, 3> mpeg1_sample_rates = {44100, 48000, 32000};
constexpr std::array<const char*, 10> some_genres = {"Blues", "Classic Rock", "Country", "Dance", "Disco",
                                                     "Funk",  "Grunge",       "Hip-Hop", "Jazz",  "Metal"};

int index_of(const auto& table, int value, const char* what) {
    const auto it = std::find(table.begin(), table.end(), value);
    if (it == table.end())
        throw std::invalid_argument(std::string("unsupported ") + what);
    return static_cast<int>(it - table.begin());
}

// UTF-8 to code points; an invalid byte reads as U+FFFD.
std::vector<char32_t> code_points(const std::string& text) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= text.size()) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out.push_back(cp);
        i += extra + 1;
    }
    return out;
}

bytes latin1(const std::string& text) {
    bytes out;
    for (char32_t cp : code_points(text))
        out.push_back(cp <= 0xFF ? static_cast<unsigned char>(cp) : '?');
    return out;
}

bytes utf16_with_bom(const std::string& text) {
    bytes out = {0xFF, 0xFE};
    auto unit = [&](char32_t u) {
        out.push_back(static_cast<unsigned char>(u));
        out.push_back(static_cast<unsigned char>(u >> 8));
    };
    for (char32_t cp : code_points(text)) {
        if (cp >= 0x10000) {
            unit(0xD800 + ((cp - 0x10000) >> 10));
            unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

void put_be32(bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(v >> shift));
}

void put_le(bytes& out, std::uint32_t v, int count) {
    for (int i = 0; i < count; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void append(bytes& out, const bytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}
void append(bytes& out, const char* text) {
    out.insert(out.end(), text, text + std::char_traits<char>::length(text));
}

class id3v2_writer {
public:
    explicit id3v2_writer(id3v2_encoding encoding) : encoding_(encoding) {}

    void text_frame(const char* id, const std::string& value) {
        if (value.empty())
            return;
        bytes body = {encoding_byte()};
        append(body, encode(value));
        frame(id, body);
    }

    void comment_frame(const std::string& value) {
        if (value.empty())
            return;
        bytes body = {encoding_byte()};
        append(body, "eng");
        append(body, encode("")); // empty description, then its terminator
        append(body, terminator());
        append(body, encode(value));
        frame("COMM", body);
    }

    bytes finish() const {
        const std::uint32_t size = static_cast<std::uint32_t>(frames_.size() + padding);
        bytes tag = {'I', 'D', '3', 3, 0, 0};
        for (int shift = 21; shift >= 0; shift -= 7) // sync-safe size
            tag.push_back(static_cast<unsigned char>((size >> shift) & 0x7F));
        append(tag, frames_);
        tag.resize(tag.size() + padding, 0);
        return tag;
    }

private:
    static constexpr std::size_t padding = 64;

    unsigned char encoding_byte() const { return encoding_ == id3v2_encoding::utf16 ? 1 : 0; }
    bytes encode(const std::string& text) const {
        if (encoding_ == id3v2_encoding::latin1)
            return latin1(text);
        return text.empty() ? bytes{0xFF, 0xFE} : utf16_with_bom(text);
    }
    bytes terminator() const { return encoding_ == id3v2_encoding::utf16 ? bytes{0, 0} : bytes{0}; }

    void frame(const char* id, const bytes& body) {
        append(frames_, id);
        put_be32(frames_, static_cast<std::uint32_t>(body.size()));
        frames_.insert(frames_.end(), {0, 0});
        append(frames_, body);
    }

    id3v2_encoding encoding_;
    bytes frames_;
};

bytes make_id3v2(const tag_fields& tag, id3v2_encoding encoding, int extra_frames) {
    id3v2_writer writer(encoding);
    writer.text_frame("TIT2", tag.title);
    writer.text_frame("TPE1", tag.artist);
    writer.text_frame("TALB", tag.album);
    writer.text_frame("TYER", tag.year > 0 ? std::to_string(tag.year) : "");
    writer.text_frame("TRCK", tag.track > 0 ? std::to_string(tag.track) : "");
    writer.text_frame("TCON", tag.genre);
    writer.comment_frame(tag.comment);
    for (int i = 0; i < extra_frames; ++i)
        writer.text_frame("TXXX", std::string("n").append(std::to_string(i)).append(1, '\0').append("v"));
    return writer.finish();
}

bytes make_id3v1(const tag_fields& tag) {
    bytes out = {'T', 'A', 'G'};
    auto field = [&](const std::string& text, std::size_t width) {
        bytes b = latin1(text);
        b.resize(width, 0);
        append(out, b);
    };
    field(tag.title, 30);
    field(tag.artist, 30);
    field(tag.album, 30);
    field(tag.year > 0 ? std::to_string(tag.year) : "", 4);
    field(tag.comment, 28);
    out.push_back(0);
    out.push_back(static_cast<unsigned char>(std::clamp(tag.track, 0, 255)));
    const auto genre =
        std::find_if(some_genres.begin(), some_genres.end(), [&](const char* name) { return tag.genre == name; });
    out.push_back(genre == some_genres.end() ? 255 : static_cast<unsigned char>(genre - some_genres.begin()));
    return out;
}

} // namespace

int mp3_frame_size(int bit_rate, int sample_rate) {
    return 144 * bit_rate * 1000 / sample_rate;
}

std::vector<unsigned char> make_mp3(const mp3_options& options) {
    const int rate_index = index_of(layer3_bit_rates, options.bit_rate, "bit rate") + 1;
    const int sample_index = index_of(mpeg1_sample_rates, options.sample_rate, "sample rate");
    bytes out;
    if (options.id3v2)
        out = make_id3v2(*options.id3v2, options.encoding, options.extra_frames);
    // MPEG-1 Layer III, no CRC, no padding; stereo or single channel. Zero side information and main data decode
    // as silence.
    const unsigned char header[4] = {0xFF, 0xFB, static_cast<unsigned char>(rate_index << 4 | sample_index << 2),
                                     static_cast<unsigned char>(options.mono ? 0xC4 : 0x04)};
    const auto frame_size = static_cast<std::size_t>(mp3_frame_size(options.bit_rate, options.sample_rate));
    for (int i = 0; i < options.frames; ++i) {
        out.insert(out.end(), header, header + 4);
        out.resize(out.size() + frame_size - 4, 0);
    }
    if (options.id3v1)
        append(out, make_id3v1(*options.id3v1));
    return out;
}

std::vector<unsigned char> make_wav(int sample_rate, int channels, int bits_per_sample, double seconds) {
    const int block = channels * bits_per_sample / 8;
    const auto data_size = static_cast<std::uint32_t>(static_cast<long long>(seconds * sample_rate) * block);
    bytes out;
    append(out, "RIFF");
    put_le(out, 36 + data_size, 4);
    append(out, "WAVEfmt ");
    put_le(out, 16, 4);
    put_le(out, 1, 2); // PCM
    put_le(out, static_cast<std::uint32_t>(channels), 2);
    put_le(out, static_cast<std::uint32_t>(sample_rate), 4);
    put_le(out, static_cast<std::uint32_t>(sample_rate * block), 4);
    put_le(out, static_cast<std::uint32_t>(block), 2);
    put_le(out, static_cast<std::uint32_t>(bits_per_sample), 2);
    append(out, "data");
    put_le(out, data_size, 4);
    out.resize(out.size() + data_size, 0);
    return out;
}

fixture_folder::fixture_folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "karvo-fixtures-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a folder from " + pattern);
    path_ = pattern;
}

fixture_folder::~fixture_folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string fixture_folder::file(const std::string& name) const {
    return path_ + "/" + name;
}

void write_bytes(const std::string& path, const std::vector<unsigned char>& data) {
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
        if (!out.flush())
            throw std::runtime_error("cannot write " + temporary);
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error)
        throw std::runtime_error("cannot rename " + temporary + " to " + path);
}

void write_mp3(const std::string& path, const mp3_options& options) {
    write_bytes(path, make_mp3(options));
}

void write_wav(const std::string& path, int sample_rate, int channels, int bits_per_sample, double seconds) {
    write_bytes(path, make_wav(sample_rate, channels, bits_per_sample, seconds));
}

bool write_silence_with_ffmpeg(const std::string& path) {
    const std::string command =
        "ffmpeg -v error -y -f lavfi -i anullsrc=r=44100:cl=stereo -t 1 -metadata title=Old '" + path + "' </dev/null";
    return std::system(command.c_str()) == 0;
}

} // namespace karvo::testing
