// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/album_order.h"

#include <gtest/gtest.h>

#include "library/media_entry.h"
#include "library/media_list.h"

namespace karvo {
namespace {

struct entry {
    const char *path, *artist, *year, *album, *track;
};

media_list list_of(const std::vector<entry>& entries) {
    media_list list;
    for (const entry& e : entries) {
        media_fields fields;
        fields[0] = e.path;
        fields[2] = e.artist;
        fields[3] = e.album;
        fields[4] = e.year;
        fields[10] = e.track; // Info10
        list.append(make_media_info(fields), "");
    }
    return list;
}

TEST(album_order, artist_year_album_disc_track_then_path) {
    const struct {
        const char* what;
        std::vector<entry> rows;
        std::vector<int> order;
    } cases[] = {
        {"artist first, upper-cased", {{"/a", "monk", "1960", "X", "1"}, {"/b", "Evans", "1950", "X", "1"}}, {1, 0}},
        {"then year, as a number", {{"/a", "A", "2001", "X", "1"}, {"/b", "A", "999", "X", "1"}}, {1, 0}},
        {"then album", {{"/a", "A", "1", "beta", "1"}, {"/b", "A", "1", "Alpha", "1"}}, {1, 0}},
        {"then track, 10 after 9 and 2/12 as 2",
         {{"/a", "A", "1", "X", "10"}, {"/b", "A", "1", "X", "9"}, {"/c", "A", "1", "X", "2/12"}},
         {2, 1, 0}},
        {"then the disc its folder names",
         {{"/x/CD 2/a", "A", "1", "X", "1"}, {"/x/Disc1/b", "A", "1", "X", "2"}, {"/x/cd1/c", "A", "1", "X", "1"}},
         {2, 1, 0}},
        {"no track number before track 1", {{"/a", "A", "1", "X", "1"}, {"/b", "A", "1", "X", ""}}, {1, 0}},
        {"then the full path", {{"/z", "A", "1", "X", "1"}, {"/m", "A", "1", "X", "1"}}, {1, 0}},
        {"equal rows keep their order", {{"/s", "A", "1", "X", "1"}, {"/s", "A", "1", "X", "1"}}, {0, 1}},
        {"an empty list", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        media_list list = list_of(c.rows);
        EXPECT_EQ(album_order(list), c.order);
        sort_in_album_order(list);
        for (std::size_t k = 0; k < c.order.size(); ++k)
            EXPECT_EQ(list.full_path(static_cast<int>(k)), c.rows[static_cast<std::size_t>(c.order[k])].path);
    }
}

} // namespace
} // namespace karvo
