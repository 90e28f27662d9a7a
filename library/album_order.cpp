// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/album_order.h"

#include <algorithm>
#include <cctype>
#include <numeric>
#include <string>
#include <string_view>
#include <tuple>

#include "library/media_list.h"
#include "library/text.h"

namespace karvo {

namespace {

// The leading number of a field ("7", "07", "7/12"), or -1 when it starts with none.
long long leading_number(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && text[at] == ' ')
        ++at;
    if (at == text.size() || !std::isdigit(static_cast<unsigned char>(text[at])))
        return -1;
    long long value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && value < 1'000'000'000; ++at)
        value = value * 10 + (text[at] - '0');
    return value;
}

// The disc number of a folder named "CD 2", "cd2", "Disc 02", "Disk-3" (its last part of the path), else 0.
long long disc_of_folder(std::string_view path) {
    const std::size_t end = path.find_last_of('/');
    if (end == std::string_view::npos)
        return 0;
    const std::size_t start = path.find_last_of('/', end == 0 ? 0 : end - 1);
    std::string folder = upper_case(path.substr(start == std::string_view::npos ? 0 : start + 1,
                                                end - (start == std::string_view::npos ? 0 : start + 1)));
    for (const std::string_view word : {"DISC", "DISK", "CD"}) {
        if (!std::string_view(folder).starts_with(word))
            continue;
        std::string_view rest = std::string_view(folder).substr(word.size());
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '-' || rest.front() == '_'))
            rest.remove_prefix(1);
        const long long number = leading_number(rest);
        return number < 0 ? 0 : number;
    }
    return 0;
}

struct album_key {
    std::string artist;
    long long year;
    std::string album;
    long long disc;
    long long track;
    std::string_view path;

    auto tied() const { return std::tie(artist, year, album, disc, track, path); }
};

} // namespace

std::vector<int> album_order(const media_list& list) {
    std::vector<album_key> keys;
    keys.reserve(static_cast<std::size_t>(list.count()));
    for (int row = 0; row < list.count(); ++row)
        keys.push_back({upper_case(list.cell(Artist, row)), leading_number(list.cell(Year, row)),
                        upper_case(list.cell(Album, row)), disc_of_folder(list.full_path(row)),
                        leading_number(list.cell(Info10, row)), list.full_path(row)});
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](int a, int b) { return keys[static_cast<std::size_t>(a)].tied() < keys[static_cast<std::size_t>(b)].tied(); });
    return order;
}

void sort_in_album_order(media_list& list) {
    list.reorder_rows(album_order(list));
}

} // namespace karvo
