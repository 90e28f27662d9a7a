// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/job_runner.h"

#include <QWidget>

#include "library/job_control.h"

namespace karvo {
namespace {

constexpr int poll_ms = 100;

} // namespace

job_runner::job_runner(QWidget* window) {
    timer_.setInterval(poll_ms);
    connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
    if (window) {
        escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), window);
        escape_->setContext(Qt::WindowShortcut);
        escape_->setEnabled(false);
        connect(escape_, &QShortcut::activated, this, [this] { cancel(); });
        // Two jobs at once (an import and an auto playlister burst) share the key: each press cancels one.
        connect(escape_, &QShortcut::activatedAmbiguously, this, [this] { cancel(); });
    }
}

job_runner::~job_runner() {
    delete escape_.data();
    timer_.stop();
    if (worker_.joinable()) {
        control_->cancel();
        worker_.join();
    }
}

bool job_runner::start(job_control& control, std::function<void()> work, progress_fn progress, done_fn done) {
    if (busy())
        return false;
    control_ = &control;
    progress_ = std::move(progress);
    done_ = std::move(done);
    shown_ = -1;
    failed_ = false;
    worker_ = std::thread([this, work = std::move(work), &control] {
        try {
            work();
        } catch (...) {
            failed_ = true; // out of memory, say: what the job left must not pass for its result
        }
        control.finish();
    });
    if (escape_)
        escape_->setEnabled(true);
    timer_.start();
    return true;
}

void job_runner::cancel() {
    if (busy())
        control_->cancel();
}

void job_runner::poll() {
    if (!control_->finished()) {
        const int done = control_->done();
        if (done != shown_ && progress_) {
            shown_ = done;
            progress_(done, control_->total());
        }
        return;
    }
    timer_.stop();
    worker_.join();
    if (escape_)
        escape_->setEnabled(false);
    progress_ = nullptr;
    const done_fn done = std::move(done_);
    done_ = nullptr;
    if (done)
        done(!failed_); // may start the next job
}

} // namespace karvo
