// SPDX-License-Identifier: GPL-3.0-or-later
// Libraries, the random source and the test doubles other tests build on.
#include "platform/dynamic_library.h"
#include "platform/random.h"
#include "platform/testing/pumped_dispatcher.h"
#include "platform/testing/recording_window_messages.h"
#include "platform/testing/scripted_prompts.h"

#include <atomic>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <stdexcept>
#include <thread>

namespace karvo::platform {
namespace {

TEST(DynamicLibrary, LoadsLooksUpAndCopiesIcons) {
    dynamic_library missing("/no/such/library.krp");
    EXPECT_FALSE(missing.loaded());
    EXPECT_FALSE(missing.error().empty());
    EXPECT_EQ(missing.symbol("_get_icon_resource"), nullptr);
    EXPECT_TRUE(missing.icon_resource(1).empty());

#ifdef KARVO_TEST_PLUGIN_DIR
    const std::string path = std::string(KARVO_TEST_PLUGIN_DIR) + "/six_players.krp";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << "test plug-ins not built";
    dynamic_library plugin(path);
    ASSERT_TRUE(plugin.loaded()) << plugin.error();
    EXPECT_EQ(plugin.icon_resource(1), (std::vector<unsigned char>{'i', 'c', 'o', 'n', '1'}));
    EXPECT_EQ(plugin.icon_resource(2), (std::vector<unsigned char>{'i', 'c', 'o', 'n', '2', '!'}));
    EXPECT_TRUE(plugin.icon_resource(3).empty());
    EXPECT_EQ(plugin.symbol("_no_such_export"), nullptr);

    dynamic_library moved = std::move(plugin);
    EXPECT_FALSE(plugin.loaded());
    EXPECT_TRUE(moved.loaded());
    EXPECT_NE(moved.symbol("_get_icon_resource"), nullptr);
#endif
}

TEST(RandomSource, SeededSequencesRepeatAndStayInRange) {
    random_source a(1234), b(1234), c(1235);
    std::vector<std::int32_t> first, second, third;
    for (int i = 0; i < 1000; ++i) {
        first.push_back(a.next());
        second.push_back(b.next());
        third.push_back(c.next());
    }
    EXPECT_EQ(first, second);
    EXPECT_NE(first, third);
    EXPECT_TRUE(std::all_of(first.begin(), first.end(), [](std::int32_t v) { return v >= 0; }));
    EXPECT_GT(std::set<std::int32_t>(first.begin(), first.end()).size(), 990u);
    // Both halves of the range occur, so the top bit of the 31 is used.
    EXPECT_TRUE(std::any_of(first.begin(), first.end(), [](std::int32_t v) { return v >= (1 << 30); }));
    a.seed(1234);
    EXPECT_EQ(a.next(), first[0]);
}

TEST(PumpedDispatcher, WorkFromAWorkerWaitsForThePump) {
    pumped_dispatcher dispatcher;
    int ran_on_owner = 0;
    dispatcher.run_and_wait([&] { ++ran_on_owner; });
    EXPECT_EQ(ran_on_owner, 1); // the owning thread runs at once

    std::atomic<bool> returned{false};
    std::thread::id ran_on;
    std::thread worker([&] {
        dispatcher.run_and_wait([&] { ran_on = std::this_thread::get_id(); });
        returned = true;
    });
    while (dispatcher.pending() == 0)
        std::this_thread::yield();
    EXPECT_FALSE(returned);
    EXPECT_EQ(dispatcher.pump(), 1u);
    worker.join();
    EXPECT_TRUE(returned);
    EXPECT_EQ(ran_on, std::this_thread::get_id());

    bool caught = false;
    std::thread failing([&] {
        try {
            dispatcher.run_and_wait([] { throw std::runtime_error("boom"); });
        } catch (const std::runtime_error&) {
            caught = true;
        }
    });
    EXPECT_EQ(dispatcher.pump_for(std::chrono::seconds(10)), 1u);
    failing.join();
    EXPECT_TRUE(caught);
}

TEST(ScriptedPrompts, AnswersInOrderAndReportsUnexpectedQuestions) {
    scripted_prompts prompts;
    prompts.answer_message(message_result::yes).answer_input(std::string("Party"));
    EXPECT_EQ(prompts.message_box("Delete?", "Karvo", message_buttons::yes_no, message_icon::question),
              message_result::yes);
    EXPECT_EQ(prompts.input_box("New Playlist", "Name:", ""), "Party");
    EXPECT_TRUE(prompts.errors().empty());
    EXPECT_EQ(prompts.message_box("Again?", "Karvo", message_buttons::yes_no_cancel, message_icon::warning),
              message_result::cancel);
    EXPECT_EQ(prompts.open_file({"Import", "M3U|*.m3u", "m3u", ""}), std::nullopt);
    ASSERT_EQ(prompts.errors().size(), 2u);
    EXPECT_NE(prompts.errors()[0].find("Again?"), std::string::npos);
    ASSERT_EQ(prompts.questions().size(), 4u);
    EXPECT_EQ(prompts.questions()[0].caption, "Karvo");
    EXPECT_EQ(prompts.questions()[0].buttons, message_buttons::yes_no);
    EXPECT_EQ(prompts.questions()[3].options.filter, "M3U|*.m3u");
    EXPECT_EQ(prompts.message_texts(), (std::vector<std::string>{"Delete?", "Again?"}));
    EXPECT_EQ(prompts.unused_answers(), 0u);
}

TEST(RecordingWindowMessages, FindsFakeWindowsAndRecordsExactBytes) {
    recording_window_messages messages;
    EXPECT_EQ(messages.find_window("Winamp v1.x"), 0);
    const window_handle winamp = messages.add_window("Winamp v1.x");
    messages.set_reply(winamp, 7);
    EXPECT_EQ(messages.find_window("winamp V1.X"), winamp);
    EXPECT_EQ(messages.send_command(winamp, 40045), 7);
    const char path[] = "/music/a.mp3";
    EXPECT_EQ(messages.send_copy_data(winamp, 100, path, sizeof path), 7);
    messages.remove_window(winamp);
    EXPECT_EQ(messages.send_command(winamp, 40047), 0);

    const auto sent = messages.sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].kind, message_kind::command);
    EXPECT_EQ(sent[0].command_id, 40045u);
    EXPECT_EQ(sent[1].dw_data, 100u);
    EXPECT_EQ(sent[1].cb_data, sizeof path);
    EXPECT_EQ(sent[1].bytes_as_text(), std::string(path, sizeof path)); // the terminating zero included
    EXPECT_FALSE(sent[2].delivered);
    EXPECT_EQ(messages.searched_classes(), (std::vector<std::string>{"Winamp v1.x", "winamp V1.X"}));
}

} // namespace
} // namespace karvo::platform
