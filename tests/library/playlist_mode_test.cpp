// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_mode.h"

#include <gtest/gtest.h>

namespace karvo {
namespace {

// Each mode as it comes back from karvo.ini and goes into it again, and what the commands may do in it.
TEST(PlaylistMode, stored_values_and_what_each_mode_allows) {
    const struct {
        int stored;
        PlaylistMode::value_type read;
        int written;
        bool save, save_as, holds_saved_playlist;
    } cases[] = {
        {-1, PlaylistMode::nothing, -1, false, false, false},
        {0, PlaylistMode::playlist, 0, true, true, true},
        {1, PlaylistMode::media_cd, 1, true, false, false},
        {2, PlaylistMode::nothing, -1, false, false, false}, // no such mode
        {3, PlaylistMode::all_playlists, 3, false, false, false},
        {4, PlaylistMode::all_media_cds, 4, false, false, false},
        {7, PlaylistMode::playlist, 0, true, true, true}, // a grouping comes back whole
        {99, PlaylistMode::nothing, -1, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        const PlaylistMode mode = PlaylistMode::from_stored(c.stored);
        EXPECT_EQ(mode.value(), c.read);
        EXPECT_EQ(mode.stored(), c.written);
        EXPECT_EQ(mode.can_save(), c.save);
        EXPECT_EQ(mode.can_revert(), c.save);
        EXPECT_EQ(mode.can_save_as(0), c.save_as);
        EXPECT_TRUE(mode.can_save_as(1)); // any list with rows may become a playlist
        EXPECT_EQ(mode.holds_saved_playlist(), c.holds_saved_playlist);
    }
}

TEST(PlaylistMode, a_grouping_is_written_as_its_playlist_and_allows_no_save) {
    PlaylistMode mode;
    mode.show_playlist();
    mode.show_grouping();
    EXPECT_EQ(mode.value(), PlaylistMode::grouping);
    EXPECT_EQ(mode.stored(), PlaylistMode::playlist);
    EXPECT_TRUE(mode.holds_saved_playlist());
    EXPECT_FALSE(mode.can_save()); // a narrowed list must not replace the saved playlist
    mode.show_all_playlists();
    EXPECT_FALSE(mode.holds_saved_playlist());
}

} // namespace
} // namespace karvo
