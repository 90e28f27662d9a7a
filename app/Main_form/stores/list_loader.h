// SPDX-License-Identifier: GPL-3.0-or-later
// Fills a fresh media list on a worker thread while the window stays live, and hands the complete list over on the
// window's thread: a list of a million entries never freezes the window, and no one sees or edits it half filled.
#pragma once

#include <QObject>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "library/media_list.h"

namespace karvo {

class list_loader final : public QObject {
public:
    // Fills the list; calls `progress` with the rows so far now and then (which throws once the load is cancelled).
    using fill_fn = std::function<void(media_list& list, const std::function<void(int rows)>& progress)>;
    using progress_fn = std::function<void(int rows)>;
    // The complete list, or nullptr when the fill failed (nothing half read is handed over).
    using done_fn = std::function<void(media_list* list)>;

    explicit list_loader(QObject* parent = nullptr);
    ~list_loader() override; // cancels a load still running

    // Starts a load into a list with `switches`; a load still running is cancelled first. `progress` and `done` run
    // on this object's thread.
    void start(const name_switches& switches, fill_fn fill, progress_fn progress, done_fn done);
    // Stops a running load and forgets it: its list never arrives.
    void cancel();
    bool busy() const { return worker_.joinable(); }

private:
    void poll();

    std::thread worker_;
    std::unique_ptr<media_list> list_;
    std::atomic<int> rows_{0};
    std::atomic<bool> finished_{false};
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> failed_{false};
    progress_fn progress_;
    done_fn done_;
    QTimer timer_;
    int shown_rows_ = -1;
};

} // namespace karvo
