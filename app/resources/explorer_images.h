// SPDX-License-Identifier: GPL-3.0-or-later
// The navigation tree's image list `Explorer`, painted in code: folders, drives by type, the playlist and Media CD
// pictures and the grouping pictures, at the indices the tree's node kinds use.
#pragma once

#include <QIcon>

namespace karvo::artwork {

// Image `index` of the list (16 x 16, sharp at any scaling); an index without a picture gives a null icon.
QIcon explorer_icon(int index);

} // namespace karvo::artwork
