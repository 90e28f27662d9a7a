// SPDX-License-Identifier: GPL-3.0-or-later
// A second start hands its files to the running window over the instance socket.
#include <QTest>
#include <future>
#include <gtest/gtest.h>

#include "app/Main_form/playlist/playlist_controller.h"
#include "app/qt_platform/instance_server.h"
#include "library/open_files.h"
#include "main_window_fixture.h"
#include "platform/local_sockets.h"

namespace karvo {
namespace {

TEST(instance, a_playlist_opened_by_a_second_start_lands_in_the_running_window) {
    testing::main_window_fixture f;
    f.write_file("music/#1 & co.mp3", "x");
    f.write_file("music/two.mp3", "x");
    f.write_file("lists/mix.m3u", "../music/#1 & co.mp3\r\n../music/two.mp3\r\n");
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    instance_server server([&w](const string_list& paths) { w.playlist_area().open_files(paths); });
    const std::string socket = f.folder.file("instance.sock");
    ASSERT_TRUE(server.listen(socket));

    auto second_start = std::async(std::launch::async, [&] {
        return hand_over(platform::system_local_sockets(), socket, {f.folder.file("lists/mix.m3u")});
    });
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return second_start.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 10000));
    EXPECT_TRUE(second_start.get());
    ASSERT_EQ(w.virtual_playlist().count(), 2);
    EXPECT_TRUE(std::string(w.virtual_playlist().full_path(0)).ends_with("music/#1 & co.mp3"));

    // A file left at the path by an instance that died is taken over; nobody listening means no hand-over.
    f.write_file("stale.sock", "");
    instance_server other([](const string_list&) {});
    EXPECT_TRUE(other.listen(f.folder.file("stale.sock")));
    EXPECT_FALSE(hand_over(platform::system_local_sockets(), f.folder.file("nobody.sock"), {}));
}

} // namespace
} // namespace karvo
