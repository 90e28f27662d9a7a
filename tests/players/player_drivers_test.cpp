// SPDX-License-Identifier: GPL-3.0-or-later
// The three player drivers against recording doubles: every message id, copy-data record and program start.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/testing/recording_program_starter.h"
#include "platform/testing/recording_window_messages.h"
#include "players/nad_class.h"
#include "players/sonique_class.h"
#include "players/winamp_class.h"

namespace karvo {
namespace {

using platform::message_kind;

std::vector<unsigned char> bytes_of(const std::string& text) {
    return {text.begin(), text.end()};
}

struct drivers {
    platform::recording_window_messages windows;
    platform::recording_program_starter starter;
    winamp_class winamp{windows, starter};
    nad_class nad{windows, starter};
    sonique_class sonique{windows, starter};
};

struct message_case {
    const char* name;
    const char* window_class;
    std::function<void(drivers&)> operation;
    bool looks_window_up; // false: goes to the handle stored by the last find_window
    message_kind kind;
    std::uint32_t command_id;
    std::uintptr_t dw_data;
    std::vector<unsigned char> bytes; // exactly cbData bytes
};

const std::string path = "/music/Band \xC3\xA9t\xC3\xA9/01 Song.mp3";
const std::string path_with_zero = path + '\0'; // Winamp counts the terminating zero

std::vector<message_case> message_cases() {
    const char* w = winamp_class::window_class;
    const char* n = nad_class::window_class;
    const auto command = message_kind::command;
    const auto copy = message_kind::copy_data;
    return {
        {"winamp play", w, [](drivers& d) { d.winamp.play(); }, false, command, 40045, 0, {}},
        {"winamp pause", w, [](drivers& d) { d.winamp.pause(); }, false, command, 40046, 0, {}},
        {"winamp stop", w, [](drivers& d) { d.winamp.stop(); }, false, command, 40047, 0, {}},
        {"winamp next", w, [](drivers& d) { d.winamp.next_track(); }, true, command, 40048, 0, {}},
        {"winamp previous", w, [](drivers& d) { d.winamp.previous_track(); }, true, command, 40044, 0, {}},
        {"winamp enqueue", w, [](drivers& d) { d.winamp.enqueue_file(path); }, true, copy, 0, 100,
         bytes_of(path_with_zero)},
        {"winamp enqueue empty", w, [](drivers& d) { d.winamp.enqueue_file(""); }, true, copy, 0, 100, {0}},
        {"nad play", n, [](drivers& d) { d.nad.play(); }, false, command, 40010, 0, {}},
        {"nad stop", n, [](drivers& d) { d.nad.stop(); }, false, command, 40011, 0, {}},
        {"nad pause", n, [](drivers& d) { d.nad.pause(); }, false, command, 40012, 0, {}},
        {"nad next", n, [](drivers& d) { d.nad.next_track(); }, true, command, 40013, 0, {}},
        {"nad previous", n, [](drivers& d) { d.nad.previous_track(); }, true, command, 40014, 0, {}},
        {"nad enqueue", n, [](drivers& d) { d.nad.enqueue_file(path); }, false, copy, 0, 1, bytes_of(path)},
        {"nad enqueue empty", n, [](drivers& d) { d.nad.enqueue_file(""); }, false, copy, 0, 1, {}},
    };
}

// Without a player window nothing is delivered. Then the player restarts between find_window and the command,
// so its window has a new handle: the message shows whether the operation looked the window up again.
TEST(PlayerDrivers, message_drivers_send_the_exact_message_to_the_right_window) {
    for (const message_case& c : message_cases()) {
        SCOPED_TRACE(c.name);
        drivers d;
        d.windows.add_window("Some Other Window");
        EXPECT_EQ(d.winamp.find_window() + d.nad.find_window(), 0);
        c.operation(d);
        for (const auto& m : d.windows.sent())
            EXPECT_FALSE(m.delivered);

        const auto first = d.windows.add_window(c.window_class);
        d.winamp.find_window();
        d.nad.find_window();
        d.windows.remove_window(first);
        const auto second = d.windows.add_window(c.window_class);
        d.windows.clear_record();
        c.operation(d);

        const auto sent = d.windows.sent();
        ASSERT_EQ(sent.size(), 1u);
        const auto& m = sent[0];
        EXPECT_EQ(m.window, c.looks_window_up ? second : first);
        EXPECT_EQ(d.windows.searched_classes(),
                  c.looks_window_up ? std::vector<std::string>{c.window_class} : std::vector<std::string>{});
        EXPECT_EQ(m.kind, c.kind);
        if (c.kind == message_kind::command) {
            EXPECT_EQ(m.command_id, c.command_id);
        } else {
            EXPECT_EQ(m.dw_data, c.dw_data);
            EXPECT_EQ(m.cb_data, c.bytes.size());
            EXPECT_EQ(m.bytes, c.bytes);
        }
        EXPECT_TRUE(d.starter.started().empty());
    }
}

const std::string sonique_program = "/opt/Sonique/sonique";

struct sonique_case {
    const char* name;
    std::function<void(sonique_class&)> operation;
    std::string parameters;
};

std::vector<sonique_case> sonique_cases() {
    return {
        {"play", [](sonique_class& s) { s.play(); }, " -play"},
        {"stop", [](sonique_class& s) { s.stop(); }, " -stop"},
        {"pause", [](sonique_class& s) { s.pause(); }, " -pause"},
        {"next", [](sonique_class& s) { s.next_track(); }, " -seeknext"},
        {"previous", [](sonique_class& s) { s.previous_track(); }, " -seekprev"},
        {"enqueue", [](sonique_class& s) { s.enqueue_file(path); }, "-appendonly \"" + path + "\""},
    };
}

// Nothing starts before the program path is known; setting it starts nothing either.
TEST(PlayerDrivers, sonique_starts_its_program_with_the_command_switch) {
    for (const sonique_case& c : sonique_cases()) {
        SCOPED_TRACE(c.name);
        drivers d;
        c.operation(d.sonique);
        d.sonique.set_program_path(sonique_program);
        EXPECT_TRUE(d.starter.started().empty());
        c.operation(d.sonique);
        const auto started = d.starter.started();
        ASSERT_EQ(started.size(), 1u);
        EXPECT_EQ(started[0].file, sonique_program);
        EXPECT_EQ(started[0].parameters, c.parameters);
        EXPECT_EQ(started[0].directory, "");
        EXPECT_EQ(started[0].mode, platform::show_mode::show);
        EXPECT_TRUE(d.windows.sent().empty());
    }
}

// The enqueued path must arrive as one argument, blanks included.
TEST(PlayerDrivers, sonique_enqueue_hands_the_path_over_as_one_argument) {
    drivers d;
    d.sonique.set_program_path(sonique_program);
    d.sonique.enqueue_file(path);
    ASSERT_EQ(d.starter.started().size(), 1u);
    EXPECT_EQ(platform::split_command_line(d.starter.started()[0].parameters),
              (std::vector<std::string>{"-appendonly", path}));
}

// A path that would arrive cut short, split into lines or as another argument is never sent.
TEST(PlayerDrivers, unsafe_paths_are_refused_by_every_enqueue) {
    const std::vector<std::string> unsafe = {"/m/a\nb.mp3", "/m/a\rb.mp3", std::string("/m/a\0b.mp3", 10)};
    for (const std::string& bad : unsafe) {
        drivers d;
        d.windows.add_window(winamp_class::window_class);
        d.windows.add_window(nad_class::window_class);
        d.nad.find_window();
        d.sonique.set_program_path(sonique_program);
        d.winamp.enqueue_file(bad);
        d.nad.enqueue_file(bad);
        d.sonique.enqueue_file(bad);
        EXPECT_TRUE(d.windows.sent().empty());
        EXPECT_TRUE(d.starter.started().empty());
    }
    drivers d;
    d.sonique.set_program_path(sonique_program);
    d.sonique.enqueue_file("/m/say \"hi\".mp3");
    EXPECT_TRUE(d.starter.started().empty());
}

} // namespace
} // namespace karvo
