// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the media information of a sequence of paths on a few worker threads, a bounded window ahead of the thread
// that consumes it, and hands the results over strictly in input order. A source that may not be called from
// several threads at once gets one worker, so it still reads ahead but never runs twice at the same time.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace karvo {

struct read_ahead_result {
    std::string path;
    std::string info;
};

// A source that reads paths as a stream, several in flight at once: `more` gives it the next path (nullopt: none
// waiting now; it then returns once it has answered all it took), and it calls `answer` with each path's media
// information in the order it took them. When a policy has one, the workers use it in place of the pool's reader.
using stream_source = std::function<std::optional<std::string>()>;
using stream_reader =
    std::function<void(const stream_source& more, const std::function<void(std::string info)>& answer)>;

struct read_ahead_policy {
    bool reentrant = false; // the source may run on several threads at once
    int threads = 0;        // 0: from the hardware (see default_threads); a non-reentrant source always gets 1
    int window = 0;         // paths read ahead of the consumer at most; 0: default_window
    stream_reader stream = {};
    // A read that has run this long while the consumer waits for it steps aside: the results after it are delivered
    // first and it comes once it is done, so one stuck file does not hold up the rest. Zero: strict order.
    std::chrono::milliseconds step_aside{0};
};

class read_ahead_pool {
public:
    using reader = std::function<std::string(const std::string& path)>;
    using ready_notice = std::function<void()>; // called on a worker thread; must not call back into the pool

    static constexpr int max_threads = 8;
    static constexpr int default_window = 64;
    // hardware_concurrency, doubled since much of a read waits on the disk, within 2 .. max_threads.
    static int default_threads();

    // `on_ready` (optional) is told each time the next result in order has become available.
    read_ahead_pool(reader read, read_ahead_policy policy, ready_notice on_ready = {});
    // Cancels and joins the workers; a read in progress ends first (at most one per worker).
    ~read_ahead_pool();
    read_ahead_pool(const read_ahead_pool&) = delete;
    read_ahead_pool& operator=(const read_ahead_pool&) = delete;

    // Input. Paths pushed after close() or cancel() are ignored.
    void push(std::string path);
    void close(); // no more paths will come

    // The next result in order, waiting for it; nullopt when all were delivered after close(), or after cancel().
    // A read that threw rethrows here, in its turn. A read that stepped aside comes as soon as it is done.
    std::optional<read_ahead_result> next();
    // The same without waiting: nullopt also when the next result is not read yet.
    std::optional<read_ahead_result> try_next();
    // True when the consumer should take results before pushing more: a window's worth is waiting or being read.
    bool backlogged() const;
    // True once every pushed path was delivered after close(), or after cancel().
    bool finished() const;

    // Stops the workers after their current read; nothing more is delivered.
    void cancel();
    int thread_count() const { return static_cast<int>(workers_.size()); }

private:
    using clock_type = std::chrono::steady_clock;
    struct slot {
        std::string path;
        std::string info;
        std::exception_ptr error;
        bool done = false;
        clock_type::time_point taken{};
    };
    using slot_ptr = std::shared_ptr<slot>;
    void work();
    bool may_take() const { return taken_ < slots_.size() && taken_ < window_; } // lock held
    slot_ptr take_slot();                                                        // lock held; may_take()
    void finish_slot(std::unique_lock<std::mutex>& lock, const slot_ptr& s, std::string info,
                     std::exception_ptr error); // lock held
    // Lock held: a done result to deliver now, stepping an overdue front aside first; null when there is none.
    std::optional<read_ahead_result> take_ready();
    bool finished_locked() const { return closed_ && slots_.empty() && aside_.empty(); }

    reader read_;
    stream_reader stream_;
    ready_notice on_ready_;
    std::size_t window_;
    std::chrono::milliseconds step_aside_;
    mutable std::mutex mutex_;
    std::condition_variable work_ready_;   // a slot may be taken, or the pool ends
    std::condition_variable result_ready_; // a result may be delivered, or the pool ends
    std::deque<slot_ptr> slots_;           // undelivered paths in order; front = next to deliver
    std::deque<slot_ptr> aside_;           // reads that stepped aside, in order
    std::size_t taken_ = 0;                // slots from the front handed to workers
    int idle_workers_ = 0;
    bool consumer_waiting_ = false;
    bool closed_ = false;
    bool cancelled_ = false;
    std::vector<std::thread> workers_;
};

// Reads every path of `paths` through a pool and gives each result to `deliver` on the calling thread, in order.
void read_ahead_each(const std::vector<std::string>& paths, const read_ahead_pool::reader& read,
                     const read_ahead_policy& policy, const std::function<void(const read_ahead_result&)>& deliver);

// The same for the paths `wanted` picks (by index); each other path is delivered in its place with empty
// information, unread. `deliver` returning false stops early: the reads still running are cancelled.
void read_ahead_some(const std::vector<std::string>& paths, const std::function<bool(std::size_t index)>& wanted,
                     const read_ahead_pool::reader& read, const read_ahead_policy& policy,
                     const std::function<bool(std::size_t index, std::string info)>& deliver);

} // namespace karvo
