// SPDX-License-Identifier: GPL-3.0-or-later
// However the program ends in order, the Shutdown keys are written: the window manager's close, and SIGTERM to
// the real program.
#include <QProcess>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/ini_file.h"
#include "tests/app/main_window_fixture.h"

namespace karvo {
namespace {

using testing::main_window_fixture;

TEST(orderly_end, the_window_managers_close_saves_as_exit_does) {
    main_window_fixture f;
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    w.setGeometry(40, 50, 800, 620);
    w.close();
    EXPECT_EQ(f.terminated, 1);
    EXPECT_EQ(platform::get_private_profile_string("Settings", "WindowWidth", "", f.ini()), "800");
    EXPECT_EQ(platform::get_private_profile_string("Settings", "WindowTop", "", f.ini()), "50");
}

TEST(orderly_end, sigterm_and_sigint_save_the_window_state) {
    for (const int signal_number : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal_number);
        testing::temp_folder home;
        const std::string data = home.path() + "/data/karvo-media/";
        std::filesystem::create_directories(data);
        std::ofstream(data + "karvo.ini") << "[Settings]\r\nWinAMP=/bin/true\r\nSelectedPlayer=0\r\n";

        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", QString::fromStdString(home.path()));
        environment.insert("XDG_DATA_HOME", QString::fromStdString(home.path() + "/data"));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(KARVO_PROGRAM), {});
        ASSERT_TRUE(program.waitForStarted(10000));
        // The stores make their folders once the application exists, and the signal pipe is there before them.
        for (int i = 0; i < 200 && !std::filesystem::exists(data + "Playlists"); ++i)
            QTest::qWait(25);
        ASSERT_TRUE(std::filesystem::exists(data + "Playlists"));
        ::kill(static_cast<pid_t>(program.processId()), signal_number);
        ASSERT_TRUE(program.waitForFinished(10000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(platform::get_private_profile_string("Settings", "WindowWidth", "", data + "karvo.ini"), "736");
        EXPECT_EQ(platform::get_private_profile_string("Settings", "PlaylistMode", "", data + "karvo.ini"), "-1");
    }
}

} // namespace
} // namespace karvo
