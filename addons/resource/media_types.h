// SPDX-License-Identifier: GPL-3.0-or-later
// The media file types the resource plug-in announces: extension, description and the look of its icon. Shared by
// the plug-in and the build tool that draws the icons, so both always agree on order and count.
#pragma once

#include <array>
#include <cstdint>

namespace karvo::resource {

struct media_type {
    const char* extension; // upper case, without the dot; also the text drawn on the icon
    const char* description;
    std::uint32_t colour; // icon tile colour, 0xRRGGBB
};

inline constexpr std::array<media_type, 14> media_types = {{
    {"MP3", "MPEG Layer 3", 0x1E6FD9},
    {"MP2", "MPEG Layer 2", 0x1B8AA6},
    {"WAV", "Wave Audio", 0x2E8B3C},
    {"OGG", "Ogg Vorbis", 0xC2561B},
    {"OPUS", "Opus Audio", 0x8A3FB8},
    {"FLAC", "Free Lossless Audio Codec", 0xB8302E},
    {"M4A", "MPEG-4 Audio", 0x5A5FC9},
    {"AAC", "Advanced Audio Coding", 0x3F4C9E},
    {"WMA", "Windows Media Audio", 0x2B5FA0},
    {"MPC", "Musepack", 0x8C6A12},
    {"APE", "Monkey's Audio", 0x6B7A1F},
    {"AIF", "Audio Interchange File", 0xA23A76},
    {"AIFF", "Audio Interchange File Format", 0x7D2C5E},
    {"WV", "WavPack", 0x207A78},
}};

} // namespace karvo::resource
