// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/stores/list_loader.h"

namespace karvo {
namespace {

// Thrown from the progress call of a cancelled load, to leave the fill wherever it is.
struct load_cancelled {};

constexpr int poll_ms = 100;

} // namespace

list_loader::list_loader(QObject* parent) : QObject(parent) {
    timer_.setInterval(poll_ms);
    connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
}

list_loader::~list_loader() {
    cancel();
}

void list_loader::start(const name_switches& switches, fill_fn fill, progress_fn progress, done_fn done) {
    cancel();
    list_ = std::make_unique<media_list>();
    list_->switches = switches;
    rows_ = 0;
    finished_ = false;
    cancelled_ = false;
    failed_ = false;
    progress_ = std::move(progress);
    done_ = std::move(done);
    shown_rows_ = -1;
    media_list* const list = list_.get();
    worker_ = std::thread([this, list, fill = std::move(fill)] {
        try {
            fill(*list, [this](int rows) {
                if (cancelled_)
                    throw load_cancelled{};
                rows_ = rows;
            });
        } catch (const load_cancelled&) {
        } catch (...) {
            failed_ = true; // out of memory, say: a list cut short must not pass for the whole one
        }
        finished_ = true;
        // Handed over at once rather than at the next progress tick (dropped if the loader is gone by then).
        QMetaObject::invokeMethod(this, [this] { poll(); }, Qt::QueuedConnection);
    });
    timer_.start();
}

void list_loader::cancel() {
    timer_.stop();
    if (worker_.joinable()) {
        cancelled_ = true;
        worker_.join();
    }
    list_.reset();
    progress_ = nullptr;
    done_ = nullptr;
}

void list_loader::poll() {
    if (!worker_.joinable())
        return; // a notice of a load already handed over or cancelled
    if (!finished_) {
        const int rows = rows_;
        if (rows != shown_rows_ && progress_) {
            shown_rows_ = rows;
            progress_(rows);
        }
        return;
    }
    timer_.stop();
    worker_.join();
    done_fn done = std::move(done_);
    std::unique_ptr<media_list> list = std::move(list_);
    progress_ = nullptr;
    if (done && !cancelled_)
        done(failed_ ? nullptr : list.get());
}

} // namespace karvo
