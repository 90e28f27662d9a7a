// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/media_entry.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "library/text.h"
#include "platform/numbers.h"

namespace karvo {
namespace {

// Replaces every `pattern` by `by` and looks again, so that no occurrence is left at the end.
void replace_until_gone(std::string& text, std::string_view pattern, char by) {
    while (text.find(pattern) != std::string::npos) {
        std::string replaced;
        replaced.reserve(text.size());
        std::size_t start = 0;
        for (std::size_t at = text.find(pattern); at != std::string::npos; at = text.find(pattern, start)) {
            replaced.append(text, start, at - start);
            replaced += by;
            start = at + pattern.size();
        }
        replaced.append(text, start);
        text = std::move(replaced);
    }
}

constexpr bool is_bracket(char c) {
    return c == '(' || c == ')' || c == '[' || c == ']' || c == '{' || c == '}';
}

void remove_brackets(std::string& text) {
    std::erase_if(text, is_bracket);
}

} // namespace

namespace {

// Fields end at separators found sixteen bytes at a time; CR and LF are looked for in the same pass (in the bytes
// read, which may run a little past the last field: the answer only ever errs towards "there may be one").
media_field_views split_fields(std::string_view info, bool* line_break) {
    media_field_views fields{};
    const char* const text = info.data();
    const std::size_t size = info.size();
    std::size_t start = 0;
    int field = 0;
    std::size_t at = 0;
    bool breaks = false;
#if defined(__SSE2__)
    const __m128i separator = _mm_set1_epi8(info_separator);
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; at + 16 <= size && field < info_field_count; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        auto ends = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, separator)));
        if (line_break)
            breaks |= _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf))) != 0;
        for (; ends != 0 && field < info_field_count; ends &= ends - 1) {
            const std::size_t end = at + static_cast<std::size_t>(std::countr_zero(ends));
            fields[static_cast<std::size_t>(field++)] = info.substr(start, end - start);
            start = end + 1;
        }
    }
#endif
    for (; at < size && field < info_field_count; ++at) {
        const char c = text[at];
        breaks |= c == '\r' || c == '\n';
        if (c == info_separator) {
            fields[static_cast<std::size_t>(field++)] = info.substr(start, at - start);
            start = at + 1;
        }
    }
    if (line_break)
        *line_break = breaks;
    return fields;
}

// What each byte of a file name becomes in its display name: the byte (low 8 bits) and whether it is kept (bit 8),
// for every combination of bracket removal, underscore and dot replacement.
using byte_map = std::array<std::uint16_t, 256>;
constexpr std::size_t map_index(bool brackets, bool underscores, bool dots) {
    return (brackets ? 4u : 0u) | (underscores ? 2u : 0u) | (dots ? 1u : 0u);
}
std::size_t map_index(const name_switches& switches, bool dots) {
    return map_index(switches.remove_brackets, switches.underscore_to_space, dots);
}
constexpr std::array<byte_map, 8> make_byte_maps() {
    std::array<byte_map, 8> maps{};
    for (std::size_t index = 0; index < maps.size(); ++index)
        for (int byte = 0; byte < 256; ++byte) {
            char c = static_cast<char>(byte);
            const bool dropped = (index & 4u) && is_bracket(c);
            if ((c == '_' && (index & 2u)) || (c == '.' && (index & 1u)))
                c = ' ';
            maps[index][static_cast<std::size_t>(byte)] =
                static_cast<std::uint16_t>(static_cast<unsigned char>(c) | (dropped ? 0u : 0x100u));
        }
    return maps;
}
constexpr std::array<byte_map, 8> byte_maps = make_byte_maps();

} // namespace

media_field_views split_media_info(std::string_view info) {
    return split_fields(info, nullptr);
}

media_field_views split_media_info(std::string_view info, bool& line_break) {
    return split_fields(info, &line_break);
}

bool has_media_path(std::string_view info) {
    const std::size_t end = info.find(info_separator);
    return end != std::string_view::npos && end > 0;
}

media_fields parse_media_info(std::string_view info) {
    const media_field_views views = split_media_info(info);
    media_fields fields;
    for (int field = 0; field < info_field_count; ++field)
        fields[field] = std::string(views[field]);
    return fields;
}

std::string make_media_info(const media_fields& fields) {
    std::size_t total = info_field_count + 1;
    for (const auto& field : fields)
        total += field.size();
    std::string info;
    info.reserve(total);
    for (const auto& field : fields) {
        info += field;
        info += info_separator;
    }
    info += info_separator;
    return info;
}

std::string derive_media_name(std::string_view full_path, const name_switches& switches) {
    std::string name;
    derive_media_name(name, full_path, switches);
    return name;
}

void derive_media_name(std::string& name, std::string_view full_path, const name_switches& switches) {
    const std::string_view file = file_name_part(full_path);
    if (!switches.percent20_to_space || file.find("%20") == std::string_view::npos) {
        // Without "%20" every step maps or drops single bytes, and no step makes or moves the last dot: one pass,
        // through a table of what each byte becomes (a dot before the last one and after it differ).
        const std::size_t last_dot = switches.dot_to_space ? file.rfind('.') : std::string_view::npos;
        const std::size_t dots_end = last_dot == std::string_view::npos ? 0 : last_dot;
        const auto& before = byte_maps[map_index(switches, true)];
        const auto& after = byte_maps[map_index(switches, false)];
        name.resize(file.size());
        char* const out = name.data();
        std::size_t size = 0;
        for (std::size_t k = 0; k < dots_end; ++k) {
            const std::uint16_t to = before[static_cast<unsigned char>(file[k])];
            out[size] = static_cast<char>(to);
            size += to >> 8;
        }
        for (std::size_t k = dots_end; k < file.size(); ++k) {
            const std::uint16_t to = after[static_cast<unsigned char>(file[k])];
            out[size] = static_cast<char>(to);
            size += to >> 8;
        }
        name.resize(size);
        if (switches.strip_extension && name.size() > 4 && name[name.size() - 4] == '.')
            name.resize(name.size() - 4);
        return;
    }
    name.assign(file);
    if (switches.underscore_to_space)
        std::replace(name.begin(), name.end(), '_', ' ');
    if (switches.percent20_to_space && name.find("%20") != std::string::npos)
        replace_until_gone(name, "%20", ' ');
    if (switches.dot_to_space) {
        // Every dot before the extension's becomes a space.
        const std::size_t dot = name.rfind('.');
        if (dot != std::string::npos)
            std::replace(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(dot), '.', ' ');
    }
    if (switches.remove_brackets)
        remove_brackets(name);
    if (switches.strip_extension && name.size() > 4 && name[name.size() - 4] == '.')
        name.resize(name.size() - 4);
}

std::string format_length(std::string_view seconds) {
    // Negative values are no length either.
    const long long total = platform::to_integer(seconds, 0);
    if (total <= 0)
        return {};
    std::string text;
    const auto append_two_digits = [&text](long long value) {
        if (value < 10)
            text += '0';
        text += std::to_string(value);
    };
    const long long hours = total / 3600;
    if (hours > 0) {
        append_two_digits(hours);
        text += ':';
    }
    append_two_digits((total % 3600) / 60);
    text += ':';
    append_two_digits(total % 60);
    return text;
}

namespace {

std::string joined(std::string_view a, std::string_view b) {
    std::string text;
    text.reserve(a.size() + b.size());
    text += a;
    text += b;
    return text;
}

} // namespace

std::string derive_quality(std::string_view full_path, std::string_view quality, std::string_view sample_rate) {
    const std::string extension = upper_extension(full_path);
    if (extension == "MP3")
        return quality.find("kbits") == std::string_view::npos ? joined(quality, "kbits") : std::string(quality);
    if (extension == "WAV")
        return quality.find("Hz") == std::string_view::npos ? joined(sample_rate, "Hz") : std::string(quality);
    return std::string(quality);
}

std::string derive_folder_quality(std::string_view full_path, std::string_view quality, std::string_view sample_rate) {
    const std::string extension = upper_extension(full_path);
    if (extension == "MP3")
        return joined(quality, "kbits");
    if (extension == "WAV")
        return joined(sample_rate, "hz");
    return std::string(quality);
}

std::string_view file_name_part(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace karvo
