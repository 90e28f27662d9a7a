// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/Readahead/read_ahead_pool.h"
#include "components/Readahead/read_hints.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace karvo {
namespace {

// A source that takes a while on some paths (so later paths finish first) and records how it is called.
struct counting_source {
    int delay_us = 0;
    std::atomic<int> running{0}, most_running{0}, calls{0};
    std::atomic<int> delivered{0}, furthest_ahead{0};

    std::string operator()(const std::string& path) {
        const int now = ++running;
        for (int seen = most_running; now > seen && !most_running.compare_exchange_weak(seen, now);) {
        }
        ++calls;
        const int index = std::stoi(path);
        for (int ahead = index - delivered, seen = furthest_ahead;
             ahead > seen && !furthest_ahead.compare_exchange_weak(seen, ahead);) {
        }
        if (delay_us > 0 && index % 3 == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(delay_us));
        --running;
        return "info of " + path;
    }
};

std::vector<std::string> numbered_paths(int count) {
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i)
        paths.push_back(std::to_string(i));
    return paths;
}

TEST(ReadAheadPool, DeliversInInputOrderWithinItsLimits) {
    struct pool_case {
        bool reentrant;
        int threads, window, delay_us, count;
    } cases[] = {
        {true, 0, 0, 200, 300},  {true, 2, 1, 100, 60}, {true, 8, 4, 300, 100}, {true, 3, 64, 0, 2000},
        {false, 8, 16, 200, 90}, {false, 0, 0, 0, 500}, {true, 4, 8, 0, 0},
    };
    for (const pool_case& c : cases) {
        SCOPED_TRACE(testing::Message() << "reentrant " << c.reentrant << ", threads " << c.threads << ", window "
                                        << c.window << ", delay " << c.delay_us);
        counting_source source;
        source.delay_us = c.delay_us;
        const std::vector<std::string> paths = numbered_paths(c.count);
        std::vector<std::string> paths_seen, infos;
        read_ahead_each(
            paths, [&source](const std::string& path) { return source(path); }, {c.reentrant, c.threads, c.window},
            [&](const read_ahead_result& r) {
                paths_seen.push_back(r.path);
                infos.push_back(r.info);
                ++source.delivered;
            });
        EXPECT_EQ(paths_seen, paths);
        std::vector<std::string> one_thread;
        for (const std::string& path : paths)
            one_thread.push_back("info of " + path);
        EXPECT_EQ(infos, one_thread);
        EXPECT_EQ(source.calls, c.count); // each path read once
        const int threads = !c.reentrant ? 1 : c.threads > 0 ? c.threads : read_ahead_pool::default_threads();
        EXPECT_LE(source.most_running, threads);
        const int window = c.window > 0 ? c.window : read_ahead_pool::default_window;
        EXPECT_LE(source.furthest_ahead, window); // the consumer counts a result just after the pool does
    }
}

TEST(ReadAheadPool, CancelStopsTheReadersAndDeliversNothingMore) {
    for (const bool destroy : {false, true}) {
        SCOPED_TRACE(destroy);
        counting_source source;
        source.delay_us = 2000;
        auto pool = std::make_unique<read_ahead_pool>([&source](const std::string& path) { return source(path); },
                                                      read_ahead_policy{true, 2, 8});
        for (const std::string& path : numbered_paths(1000))
            pool->push(path);
        pool->close();
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(pool->next().has_value());
        if (destroy) {
            pool.reset(); // joins: no reader runs after this
        } else {
            pool->cancel();
            EXPECT_FALSE(pool->next().has_value());
            EXPECT_FALSE(pool->try_next().has_value());
            EXPECT_TRUE(pool->finished());
            pool.reset();
        }
        EXPECT_EQ(source.running, 0);
        EXPECT_LE(source.calls, 3 + 8 + 2); // what was delivered, the window, one read per reader
    }
}

TEST(ReadAheadPool, AFailedReadRethrowsInItsTurn) {
    read_ahead_pool pool(
        [](const std::string& path) -> std::string {
            if (path == "2")
                throw std::runtime_error("unreadable");
            return path;
        },
        {true, 4, 0});
    for (const std::string& path : numbered_paths(5))
        pool.push(path);
    pool.close();
    EXPECT_EQ(pool.next()->info, "0");
    EXPECT_EQ(pool.next()->info, "1");
    EXPECT_THROW(pool.next(), std::runtime_error);
    EXPECT_EQ(pool.next()->info, "3");
    EXPECT_EQ(pool.next()->info, "4");
    EXPECT_FALSE(pool.next().has_value());
}

// The hints stay within their window past the readers, skip what is not wanted, stop at the end, and a hint
// of a missing file does nothing.
TEST(ReadHints, StayAWindowAheadOfTheReaders) {
    const std::vector<std::string> paths(100, "/nonexistent/karvo-hint");
    std::atomic<int> asked{0};
    std::atomic<int> furthest{-1};
    const auto wait_for = [&](int count) {
        for (int k = 0; k < 5000 && asked < count; ++k)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    {
        read_hints hints(paths, [&](std::size_t index) {
            furthest = static_cast<int>(index);
            ++asked;
            return index % 2 == 0;
        }, 10);
        wait_for(10);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(asked, 10);
        EXPECT_EQ(furthest, 9);
        hints.reached(50);
        wait_for(60);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(asked, 60);
        hints.reached(1000);
        wait_for(100);
        EXPECT_EQ(asked, 100);
    }
    hint_will_read("/nonexistent/karvo-hint");
}

} // namespace
} // namespace karvo
