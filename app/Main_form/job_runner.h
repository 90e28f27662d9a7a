// SPDX-License-Identifier: GPL-3.0-or-later
// Runs one library job on a worker thread while the window stays live: its progress is shown now and then, Esc
// (or cancel()) asks it to stop, and its end is handed back on the window's thread, where the job's result is
// applied to the stores.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <functional>
#include <thread>

class QWidget;

namespace karvo {

class job_control;
class escape_key;

class job_runner final : public QObject {
public:
    using progress_fn = std::function<void(int done, int total)>;
    using done_fn = std::function<void(bool completed)>; // completed false: the job failed (threw) part way

    // Esc cancels while a job runs in `window`; one press cancels every job of the window running then.
    explicit job_runner(QWidget* window);
    ~job_runner() override; // cancels a running job and waits for it (a job stops between steps)

    // Runs `work` (which reports to `control`) on a worker; false, and nothing started, while another job runs.
    bool start(job_control& control, std::function<void()> work, progress_fn progress, done_fn done);
    void cancel(); // the job stops at its next step; `done` still comes
    bool busy() const { return worker_.joinable(); }

private:
    void poll();

    std::thread worker_;
    job_control* control_ = nullptr;
    progress_fn progress_;
    done_fn done_;
    QTimer timer_;
    QPointer<escape_key> escape_; // the window's: it may go first
    int shown_ = -1;
    std::atomic<bool> failed_{false};
};

} // namespace karvo
