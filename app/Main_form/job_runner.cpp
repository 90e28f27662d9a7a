// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/job_runner.h"

#include <QShortcut>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "library/job_control.h"

namespace karvo {
namespace {

constexpr int poll_ms = 100;
const char* const escape_key_name = "job_escape_key";

} // namespace

// One Esc shortcut per window for all its job runners (an import and an auto playlister burst may run together):
// two shortcuts on one key would take turns, one job per press.
class escape_key final : public QObject {
public:
    static escape_key* of(QWidget* window) {
        if (auto* found = window->findChild<QObject*>(escape_key_name, Qt::FindDirectChildrenOnly))
            return static_cast<escape_key*>(found);
        return new escape_key(window);
    }
    void add(job_runner* runner) { runners_.push_back(runner); }
    void remove(job_runner* runner) { std::erase(runners_, runner); }
    // The key is live only while a job runs, so Esc means nothing else to the window otherwise.
    void follow() {
        shortcut_->setEnabled(std::any_of(runners_.begin(), runners_.end(), [](job_runner* r) { return r->busy(); }));
    }

private:
    explicit escape_key(QWidget* window) : QObject(window), shortcut_(new QShortcut(QKeySequence(Qt::Key_Escape), window)) {
        setObjectName(escape_key_name);
        shortcut_->setContext(Qt::WindowShortcut);
        shortcut_->setEnabled(false);
        connect(shortcut_, &QShortcut::activated, this, [this] {
            for (job_runner* runner : runners_)
                runner->cancel();
        });
    }
    QShortcut* shortcut_;
    std::vector<job_runner*> runners_;
};

job_runner::job_runner(QWidget* window) {
    timer_.setInterval(poll_ms);
    connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
    if (window) {
        escape_ = escape_key::of(window);
        escape_->add(this);
    }
}

job_runner::~job_runner() {
    timer_.stop();
    if (worker_.joinable()) {
        control_->cancel();
        worker_.join();
    }
    if (escape_) {
        escape_->remove(this);
        escape_->follow();
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
        escape_->follow();
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
        escape_->follow();
    progress_ = nullptr;
    const done_fn done = std::move(done_);
    done_ = nullptr;
    if (done)
        done(!failed_); // may start the next job
}

} // namespace karvo
