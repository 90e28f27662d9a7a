// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/job_runner.h"

#include <QTest>
#include <QWidget>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "library/job_control.h"

namespace karvo {
namespace {

// Two jobs of one window (an import and an auto playlister burst) stop on one press of Esc.
TEST(job_runner, one_esc_cancels_every_job_running_in_the_window) {
    QWidget window;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    job_runner first(&window);
    job_runner second(&window);
    job_control jobs[2];
    int ended = 0;
    for (int k = 0; k < 2; ++k) {
        job_control& job = jobs[k];
        const auto until_cancelled = [&job] {
            while (!job.cancelled())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        };
        ASSERT_TRUE((k == 0 ? first : second).start(job, until_cancelled, {}, [&ended](bool) { ++ended; }));
    }
    QTest::keyClick(&window, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&ended] { return ended == 2; }, 5000));
    EXPECT_TRUE(jobs[0].cancelled());
    EXPECT_TRUE(jobs[1].cancelled());
}

} // namespace
} // namespace karvo
