// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/testing/fake_mixer.h"
#include "players/volume_control.h"

namespace karvo {
namespace {

TEST(volume_control, setting_clamps_shows_and_reaches_the_mixer_only_when_it_has_volume) {
    struct set_case {
        int asked;
        int value;
        std::string label;
    };
    const std::vector<set_case> cases = {
        {0, 1, "1%"}, {-20, 1, "1%"}, {1, 1, "1%"}, {57, 57, "57%"}, {100, 100, "100%"}, {101, 100, "100%"},
    };
    for (const bool has_volume : {true, false}) {
        platform::fake_mixer mixer(has_volume, 30);
        volume_control volume(mixer);
        std::vector<int> expected_changes;
        for (const auto& c : cases) {
            const volume_display shown = volume.set(c.asked);
            EXPECT_EQ(shown.value, c.value) << c.asked;
            EXPECT_EQ(shown.label, c.label) << c.asked;
            if (has_volume)
                expected_changes.push_back(c.value);
        }
        EXPECT_EQ(mixer.changes(), expected_changes);
    }
}

TEST(volume_control, start_up_reads_the_mixer_or_shows_zero) {
    platform::fake_mixer with(true, 64), without(false, 64);
    volume_control a(with), b(without);
    EXPECT_EQ(a.read_at_startup().label, "64%");
    EXPECT_EQ(b.read_at_startup().label, "0%");
    EXPECT_TRUE(with.changes().empty());
}

TEST(volume_control, the_bar_follows_the_mouse_while_pressed) {
    platform::fake_mixer mixer;
    volume_control volume(mixer);
    volume_display shown;
    EXPECT_FALSE(volume.move(50, shown));
    EXPECT_EQ(volume.press(150).value, 100);
    EXPECT_TRUE(volume.move(42, shown));
    EXPECT_EQ(shown.value, 40);
    EXPECT_TRUE(volume.move(2, shown));
    EXPECT_EQ(shown.value, 1);
    volume.release();
    EXPECT_FALSE(volume.move(80, shown));
    EXPECT_EQ(mixer.changes(), (std::vector<int>{100, 40, 1}));
}

TEST(volume_control, the_panel_snaps_to_the_client_edges) {
    const panel_rect start{100, 100, 120, 40};
    struct move_case {
        int dx, dy;
        int left, top;
    };
    const std::vector<move_case> cases = {
        {0, 0, 100, 100},   {-90, 0, 1, 100},   {-89, 0, 11, 100}, // left edge 10 or less snaps to 1
        {470, 0, 579, 100}, {469, 0, 569, 100},                    // right edge within 10 of 700
        {0, -60, 100, 30},  {0, -59, 100, 41},                     // top 40 or less becomes 30
        {0, 350, 100, 459}, {0, 349, 100, 449},                    // bottom within 10 of 500
    };
    for (const auto& c : cases) {
        const panel_rect moved = move_volume_panel(start, c.dx, c.dy, 700, 500);
        EXPECT_EQ(moved.left, c.left) << c.dx << "," << c.dy;
        EXPECT_EQ(moved.top, c.top) << c.dx << "," << c.dy;
    }
}

} // namespace
} // namespace karvo
