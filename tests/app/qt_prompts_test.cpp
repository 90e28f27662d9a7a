// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_platform/qt_prompts.h"

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

#include "app/qt_platform/qt_dispatcher.h"

namespace karvo {
namespace {

TEST(qt_prompts, dialog_filters_in_qt_form) {
    struct filter_case {
        const char* in;
        const char* out;
    };
    for (const auto& c : std::vector<filter_case>{
             {"M3U Playlist (*.m3u)|*.m3u|All Files (*.*)|*.*", "M3U Playlist (*.m3u *.M3U);;All Files (*)"},
             {"Playlists|*.m3u;*.pls", "Playlists (*.m3u *.M3U *.pls *.PLS)"},
             {"VLC MP3 Player |vlc|All Files (*.*)|*.*", "VLC MP3 Player (vlc VLC);;All Files (*)"},
             {"Odd|", ""},
             {"", ""},
         })
        EXPECT_EQ(qt_file_filter(c.in).toStdString(), c.out) << c.in;
}

TEST(qt_prompts, default_extension_only_for_names_without_one) {
    struct name_case {
        const char* path;
        const char* extension;
        const char* out;
    };
    for (const auto& c : std::vector<name_case>{{"/home/a/list", "m3u", "/home/a/list.m3u"},
                                                {"/home/a/list.pls", "m3u", "/home/a/list.pls"},
                                                {"/home/a.b/list", "m3u", "/home/a.b/list.m3u"},
                                                {"/home/a/list.", "m3u", "/home/a/list.m3u"},
                                                {"/home/a/list", "", "/home/a/list"}})
        EXPECT_EQ(with_default_extension(c.path, c.extension), c.out) << c.path;
}

TEST(qt_dispatcher, runs_worker_requests_on_the_gui_thread) {
    qt_dispatcher dispatcher;
    QThread* gui = QThread::currentThread();
    QThread* ran_on = nullptr;
    dispatcher.run_and_wait([&] { ran_on = QThread::currentThread(); });
    EXPECT_EQ(ran_on, gui);

    std::atomic<bool> done = false;
    std::thread worker([&] {
        dispatcher.run_and_wait([&] { ran_on = QThread::currentThread(); });
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    EXPECT_EQ(ran_on, gui);
}

} // namespace
} // namespace karvo
