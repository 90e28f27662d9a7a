// SPDX-License-Identifier: GPL-3.0-or-later
// "Sort in Album Order": the rows by artist, year, album, disc, track number (Info10), then full path. Artist and
// album compare upper-cased; year and track compare by their leading number, a row without one first; the entry
// holds no disc number, so every row is on the same disc. Rows that compare equal keep their order.
#pragma once

#include <vector>

namespace karvo {

class media_list;

// Row k of the sorted list is old row order[k].
std::vector<int> album_order(const media_list& list);
void sort_in_album_order(media_list& list);

} // namespace karvo
