#include "library/media_entry.h"

#include "library/text.h"
#include "platform/file_system.h"

namespace karvo {
namespace {

// Replaces every `pattern` by `by`, looking again from where a replacement could have made a new occurrence, so
// that no occurrence is left at the end.
void replace_until_gone(std::string& text, std::string_view pattern, std::string_view by)
{
    std::size_t at = text.find(pattern);
    while (at != std::string::npos) {
        text.replace(at, pattern.size(), by);
        const std::size_t back = pattern.size() - 1;
        at = text.find(pattern, at > back ? at - back : 0);
    }
}

void remove_brackets(std::string& text)
{
    std::erase_if(text, [](char c) { return c == '(' || c == ')' || c == '[' || c == ']' || c == '{' || c == '}'; });
}

} // namespace

media_field_views split_media_info(std::string_view info)
{
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

media_fields parse_media_info(std::string_view info)
{
    const media_field_views views = split_media_info(info);
    media_fields fields;
    for (int field = 0; field < info_field_count; ++field)
        fields[field] = std::string(views[field]);
    return fields;
}

std::string make_media_info(const media_fields& fields)
{
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

std::string derive_media_name(std::string_view full_path, const name_switches& switches)
{
    std::string name = platform::file_name_of(std::string(full_path));
    if (switches.underscore_to_space)
        replace_until_gone(name, "_", " ");
    if (switches.percent20_to_space)
        replace_until_gone(name, "%20", " ");
    if (switches.dot_to_space) {
        const std::size_t dot = name.rfind('.');
        if (dot != std::string::npos && dot > 0) {
            std::string extension = name.substr(dot);
            name.resize(dot);
            replace_until_gone(name, ".", " ");
            name += extension;
        }
    }
    if (switches.remove_brackets)
        remove_brackets(name);
    if (switches.strip_extension)
        name = without_three_letter_extension(name);
    return name;
}

std::string format_length(std::string_view seconds)
{
    // Negative values are no length either.
    const long long total = to_integer(seconds, 0);
    if (total <= 0)
        return {};
    const auto two_digits = [](long long value) {
        return value < 10 ? "0" + std::to_string(value) : std::to_string(value);
    };
    const long long hours = total / 3600;
    std::string text;
    if (hours > 0)
        text = two_digits(hours) + ":";
    text += two_digits((total % 3600) / 60) + ":";
    text += two_digits(total % 60);
    return text;
}

std::string derive_quality(std::string_view full_path, const std::string& quality, const std::string& sample_rate)
{
    const std::string extension = upper_extension(full_path);
    if (extension == "MP3")
        return quality.find("kbits") == std::string::npos ? quality + "kbits" : quality;
    if (extension == "WAV")
        return quality.find("Hz") == std::string::npos ? sample_rate + "Hz" : quality;
    return quality;
}

std::string derive_folder_quality(std::string_view full_path, const std::string& quality,
                                  const std::string& sample_rate)
{
    const std::string extension = upper_extension(full_path);
    if (extension == "MP3")
        return quality + "kbits";
    if (extension == "WAV")
        return sample_rate + "hz";
    return quality;
}

} // namespace karvo
