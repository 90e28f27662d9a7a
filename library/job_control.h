// SPDX-License-Identifier: GPL-3.0-or-later
// What a long job on a worker thread shares with the thread that shows it: how far it got, a cancel request it
// checks between steps, and whether it is over. Every member may be called from any thread.
#pragma once

#include <atomic>

namespace karvo {

class job_control {
public:
    void cancel() { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }

    void set_total(int total) { total_ = total; }
    void step() { ++done_; }
    int done() const { return done_; }
    int total() const { return total_; }

    void finish() { finished_ = true; }
    bool finished() const { return finished_; }

private:
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> finished_{false};
    std::atomic<int> done_{0};
    std::atomic<int> total_{0};
};

} // namespace karvo
