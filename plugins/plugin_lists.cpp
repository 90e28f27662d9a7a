// SPDX-License-Identifier: GPL-3.0-or-later
#include "plugins/plugin_lists.h"

#include "platform/readable_memory.h"

#include <charconv>
#include <vector>

namespace karvo {

string_list copy_plugin_list(const karvo_string_list* list) {
    karvo_string_list head{};
    if (!platform::copy_readable(list, &head, sizeof head) || head.count <= 0 || !head.items ||
        head.count > max_plugin_list_items)
        return {};
    std::vector<const char*> items(static_cast<std::size_t>(head.count));
    if (!platform::copy_readable(head.items, items.data(), items.size() * sizeof(const char*)))
        return {};
    string_list copy;
    copy.reserve(items.size());
    for (const char* item : items) {
        if (!item) {
            copy.emplace_back();
            continue;
        }
        std::optional<std::string> text = platform::read_text(item, max_plugin_item_bytes);
        if (!text)
            return {};
        copy.push_back(std::move(*text));
    }
    return copy;
}

std::string join_plugin_list(const karvo_string_list* list) {
    std::string joined;
    for (const std::string& item : copy_plugin_list(list))
        joined += item;
    return joined;
}

const std::string& item_or(const string_list& list, std::size_t index, const std::string& fallback) {
    return index < list.size() ? list[index] : fallback;
}

std::string general_format(double value) {
    // Like the general format of the desktop's float-to-text; to_chars ignores the locale.
    char digits[64];
    const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 15);
    return std::string(digits, result.ptr);
}

} // namespace karvo
