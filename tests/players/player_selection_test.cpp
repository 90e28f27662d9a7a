// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/players/playback_fixture.h"

#include "players/mpd_player.h"
#include "platform/ini_file.h"

namespace karvo::testing {
namespace {

class player_selection_test : public playback_fixture {
protected:
    player_selection_test() {
        // A selection that stores SelectedPlayer in a real settings file.
        stored.lists = selection.lists;
        stored.names_changed();
    }
    int stored_index() const { return platform::get_private_profile_int("Settings", "SelectedPlayer", -99, ini()); }
    std::string ini() const { return folder.file("karvo.ini"); }

    player_selection stored{prompts, messages, folder.file("karvo.ini"),
                            [this](const std::string& path) { return installed.count(path) > 0; }};
};

TEST_F(player_selection_test, a_label_click_selects_only_an_installed_player) {
    install({0, 3});
    prompts.answer_message(platform::message_result::ok);
    EXPECT_TRUE(stored.select_by_label("Player 3"));
    EXPECT_EQ(stored.name(), "Player 3");
    EXPECT_EQ(stored.program(), "/opt/Player 3");
    EXPECT_EQ(stored.index(), 3);
    EXPECT_EQ(stored_index(), 3);

    EXPECT_FALSE(stored.select_by_label("NAD"));
    EXPECT_EQ(prompts.message_texts(), std::vector<std::string>{message_15 + " NAD."});
    EXPECT_EQ(prompts.questions().at(0).caption, "Karvo Media v4.0 Beta 3.5");
    EXPECT_EQ(prompts.questions().at(0).buttons, platform::message_buttons::ok);
    EXPECT_EQ(stored.name(), "Player 3");
    EXPECT_EQ(stored.program(), "/opt/Player 3");
    EXPECT_EQ(stored_index(), 3);
}

TEST_F(player_selection_test, the_box_selects_extra_players) {
    install({7});
    EXPECT_EQ(stored.extra_player_names(), (string_list{"VLC", "mpv"}));
    EXPECT_EQ(stored.extra_label(), "VLC");
    EXPECT_TRUE(stored.select_extra(1));
    EXPECT_EQ(stored.extra_label(), "mpv");
    EXPECT_EQ(stored.index(), 7);
    EXPECT_EQ(stored_index(), 7);

    prompts.answer_message(platform::message_result::ok);
    EXPECT_FALSE(stored.select_extra(5)); // not in the box: its first entry, VLC, which is missing
    EXPECT_EQ(prompts.message_texts(), std::vector<std::string>{message_15 + " VLC."});
    EXPECT_EQ(stored.name(), "mpv");
    EXPECT_EQ(stored.extra_label(), "mpv");
}

TEST_F(player_selection_test, start_up_applies_the_stored_index) {
    const std::string none_text = "Currently, no Media Player Location is defined.  Please go to Preferences "
                                  "Menu->Media Players to tell Karvo Media where your Favorite Media Players are "
                                  "located.";
    struct start_case {
        std::string label;
        int stored;
        std::vector<int> installed;
        int chosen; // -1: none
        std::vector<std::string> shown;
    };
    const std::vector<start_case> cases = {
        {"first installed of 0 and 1", -1, {0, 1}, 0, {}},
        {"first installed is an extra player", -1, {7}, 7, {}},
        {"nothing installed", -1, {}, -1, {none_text}},
        {"a slot", 2, {2, 0}, 2, {}},
        {"a missing slot", 4, {0}, -1, {message_15 + " Player 4."}},
        {"an extra player", 7, {7}, 7, {}},
        {"a missing extra player, then lblPlayer6 keeps the first entry", 7, {6}, 6, {message_15 + " mpv."}},
        {"an extra index beyond the box falls back to its first entry", 30, {6}, 6, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        installed.clear();
        prompts.clear();
        install(c.installed);
        for (std::size_t i = 0; i < c.shown.size(); ++i)
            prompts.answer_message(platform::message_result::ok);
        player_selection fresh(prompts, messages, "",
                               [this](const std::string& path) { return installed.count(path) > 0; });
        fresh.lists = selection.lists;
        fresh.names_changed();
        fresh.select_at_startup(c.stored);
        EXPECT_EQ(fresh.index(), c.chosen);
        EXPECT_EQ(fresh.name(), c.chosen < 0 ? "" : selection.lists.names[c.chosen]);
        EXPECT_EQ(prompts.message_texts(), c.shown);
        if (c.stored == -1 && c.chosen < 0) {
            EXPECT_EQ(prompts.questions().at(0).icon, platform::message_icon::information);
        }
    }
    // The music daemon's marker needs no program, yet a first run does not pick it: only an installed player.
    player_selection first_run(prompts, messages, "", [](const std::string&) { return true; });
    first_run.lists = selection.lists;
    first_run.lists.locations[0] = mpd_player_location;
    first_run.names_changed();
    first_run.select_at_startup(-1);
    EXPECT_EQ(first_run.index(), 1);
}

TEST_F(player_selection_test, only_slots_with_a_program_accept_drops) {
    install({1, 6});
    for (int slot = -1; slot <= 7; ++slot)
        EXPECT_EQ(selection.slot_accepts_drops(slot), slot == 1) << slot;
}

} // namespace
} // namespace karvo::testing
