// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/options_settings.h"

#include <gtest/gtest.h>

#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

namespace karvo {
namespace {

const std::vector<std::string> extensions = {"MP3", "WAV"};

// What the dialog shows for a stored value: missing keys give the dialog's defaults, damaged ones are brought back.
TEST(options_settings, shown_values_from_the_file) {
    struct shown_case {
        const char* section;
        const char* key;
        const char* stored; // null: the key is missing
        int shown;
    };
    const std::vector<shown_case> cases = {
        {"Settings", "sort_item", nullptr, 1}, // the main window sorts by file name, the dialog ticks full path
        {"Settings", "sort_item", "0", 0},
        {"Settings", "search_item", "5", 1},
        {"Settings", "pls_font_size", "-3", 1},
        {"Settings", "pls_font_size", "500", 72},
        {"Settings", "system_tray_icon", "12", 9},
        {"Settings", "show_in", "5", 0},
        {"Settings", "show_in", "2", 2},
        {"Settings", "drag_n_drop", "-1", 0},
        {"Settings", "MiscForeColorOn", nullptr, 0xFFFF80},
        {"Settings", "MainBackColor", "-1", 0xFFFFFF},
        {"Settings", "ShowFileExtension", nullptr, 1},
        {"Settings", "EnhancedWinamp", "7", 1},
        {"Advanced", "Double_Click", "7", 1},
        {"Advanced", "Double_Click", "3", 3},
        {"Advanced", "RandomizeTimes", "2000000000", 1000},
        {"Advanced", "RandomizeTimes", "0", 0},
        {"AutoPlaylister", "enabled", nullptr, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + (c.stored ? c.stored : "(missing)"));
        platform::profile_document ini;
        if (c.stored) {
            ASSERT_TRUE(ini.set_string(c.section, c.key, c.stored));
        }
        EXPECT_EQ(read_options(ini, extensions).number(c.key), c.shown);
    }
}

TEST(options_settings, numbers_typed_into_a_field) {
    struct typed_case {
        const char* text;
        int shown;
    };
    const std::vector<typed_case> cases = {
        {"abc", 1},   {"0", 0},        {"", 1},   {"12", 12},         {"+5", 5},
        {"12abc", 1}, {"99999", 1000}, {"-3", 0}, {"99999999999", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(coerce_number(c.text, 1, 0, 1000), c.shown) << c.text;
}

// OK writes every key in its order into an empty file, players first and the extensions after RandomizeTimes.
TEST(options_settings, written_keys_and_their_order) {
    testing::temp_folder folder;
    platform::profile_document ini(folder.file("karvo.ini"));
    options_values values = read_options(ini, extensions);
    values.set_number("show_in", -1); // nothing ticked: not written
    values.extensions = {true, false};
    values.set_text("dir", "/music");
    ASSERT_TRUE(write_options(ini, values, {"WinAMP", "", "VLC"}, {"/w", "", "/usr/bin/vlc"}, extensions));

    EXPECT_EQ(ini.sections(), (std::vector<std::string>{"Settings", "Advanced", "AutoPlaylister"}));
    EXPECT_EQ(ini.keys("Settings"), (std::vector<std::string>{"WinAMP",
                                                              "VLC",
                                                              "MainBackColor",
                                                              "MainForeColor",
                                                              "PanelColor",
                                                              "PanelBorderColor",
                                                              "MiscBackColorOn",
                                                              "MiscBackColorOff",
                                                              "MiscForeColorOn",
                                                              "MiscForeColorOff",
                                                              "pls_font_size",
                                                              "EnhancedWinamp",
                                                              "underscore_with_space",
                                                              "%20_with_space",
                                                              "dot_with_space",
                                                              "remove_brackets",
                                                              "ShowFileExtension",
                                                              "verify_on_startup",
                                                              "search_item",
                                                              "sort_item",
                                                              "add_playlist_type",
                                                              "system_tray_icon",
                                                              "drag_n_drop",
                                                              "drag_n_drop_rnd"}));
    EXPECT_EQ(ini.keys("Advanced"), (std::vector<std::string>{"Double_Click", "RandomizeTimes", "MP3", "WAV"}));
    EXPECT_EQ(ini.keys("AutoPlaylister"),
              (std::vector<std::string>{"enqueue", "add_curr_playlist", "add_saved_playlist", "enabled", "dir",
                                        "saved_playlist"}));
    EXPECT_EQ(ini.get_string("Settings", "VLC", ""), "/usr/bin/vlc");
    EXPECT_EQ(ini.get_string("Settings", "MainBackColor", ""), "8388608");
    EXPECT_EQ(ini.get_string("Settings", "sort_item", ""), "1");
    EXPECT_EQ(ini.get_string("Advanced", "WAV", ""), "0");
    EXPECT_EQ(read_options(ini, extensions), [&] {
        options_values expected = values;
        expected.set_number("show_in", 0);
        return expected;
    }());
}

// A folder the file cannot hold is left out; every other key is still written.
TEST(options_settings, a_value_the_file_cannot_hold_costs_only_itself) {
    testing::temp_folder folder;
    const std::string file = folder.file("karvo.ini");
    testing::write_raw(file, "[AutoPlaylister]\r\ndir=/old\r\n");
    platform::profile_document ini(file);
    options_values values = read_options(ini, extensions);
    values.set_text("dir", "/new\nline");
    values.set_number("pls_font_size", 11);
    EXPECT_FALSE(write_options(ini, values, {}, {}, extensions));
    EXPECT_EQ(ini.get_string("AutoPlaylister", "dir", ""), "/old");
    EXPECT_EQ(ini.get_string("Settings", "pls_font_size", ""), "11");
    EXPECT_EQ(ini.get_string("AutoPlaylister", "saved_playlist", "missing"), "");
}

} // namespace
} // namespace karvo
