// SPDX-License-Identifier: GPL-3.0-or-later
// "Sort in Album Order": the rows by artist, year, album, disc, track number (Info10), then full path. Artist and
// album compare upper-cased; year and track compare by their leading number, a row without one first. The entry
// holds no disc number: the disc is read off the file's folder when it is named like "CD 2", "Disc2" or "disk-3"
// (the way multi-disc albums are laid out), else 0. Rows that compare equal keep their order.
#pragma once

#include <vector>

namespace karvo {

class media_list;

// Row k of the sorted list is old row order[k].
std::vector<int> album_order(const media_list& list);
void sort_in_album_order(media_list& list);

} // namespace karvo
