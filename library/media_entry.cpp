// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/media_entry.h"

#include <algorithm>

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

void remove_brackets(std::string& text) {
    std::erase_if(text, [](char c) { return c == '(' || c == ')' || c == '[' || c == ']' || c == '{' || c == '}'; });
}

} // namespace

media_field_views split_media_info(std::string_view info) {
    media_field_views fields{};
    std::size_t start = 0;
    for (int field = 0; field < info_field_count; ++field) {
        const std::size_t end = info.find(info_separator, start);
        if (end == std::string_view::npos)
            break;
        fields[field] = info.substr(start, end - start);
        start = end + 1;
    }
    return fields;
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
        // Without "%20" every step maps or drops single bytes, and no step makes or moves the last dot: one pass.
        const std::size_t last_dot = switches.dot_to_space ? file.rfind('.') : std::string_view::npos;
        name.resize(file.size());
        std::size_t size = 0;
        for (std::size_t k = 0; k < file.size(); ++k) {
            char c = file[k];
            if (switches.remove_brackets &&
                (c == '(' || c == ')' || c == '[' || c == ']' || c == '{' || c == '}'))
                continue;
            if ((c == '_' && switches.underscore_to_space) || (c == '.' && last_dot != std::string_view::npos && k < last_dot))
                c = ' ';
            name[size++] = c;
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
