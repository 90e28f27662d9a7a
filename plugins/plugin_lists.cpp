// SPDX-License-Identifier: GPL-3.0-or-later
#include "plugins/plugin_lists.h"

#include <charconv>

namespace karvo {
namespace {

template <typename Visit>
void for_each_item(const karvo_string_list* list, Visit visit) {
    if (!list || list->count <= 0 || !list->items)
        return;
    for (int32_t i = 0; i < list->count; ++i)
        visit(list->items[i] ? list->items[i] : "");
}

} // namespace

string_list copy_plugin_list(const karvo_string_list* list) {
    string_list copy;
    if (list && list->count > 0)
        copy.reserve(static_cast<std::size_t>(list->count));
    for_each_item(list, [&](const char* item) { copy.emplace_back(item); });
    return copy;
}

std::string join_plugin_list(const karvo_string_list* list) {
    std::string joined;
    for_each_item(list, [&](const char* item) { joined += item; });
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
