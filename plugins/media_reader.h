// SPDX-License-Identifier: GPL-3.0-or-later
// Media reads in helper processes (karvo-media-reader), so that a resource plug-in that crashes or hangs while it
// reads a file ends a helper, never the program. Each helper loads the plug-in itself and answers one request at a
// time over a socket: a request is a path, an answer the joined media information; each is a frame of a 4-byte
// little-endian length and that many bytes. After loading, a helper answers "ready" unasked. A helper that dies
// or overruns the time limit is killed and replaced by a fresh one for the next file.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace karvo {

inline constexpr const char* media_reader_program = "karvo-media-reader";
inline constexpr const char* media_reader_ready = "ready";
// A longer answer counts as a failed read.
inline constexpr std::uint32_t max_media_reader_frame = 64u << 20;

// Frames over a stream socket. Writes never raise SIGPIPE; both return false on a closed or failed socket.
bool write_frame(int fd, const std::string& bytes);
enum class frame_status { ok, closed, late };
// Waits at most `limit` for the whole frame (nullopt: no limit).
frame_status read_frame(int fd, std::string& bytes, std::optional<std::chrono::milliseconds> limit);

// The helper's side: loads the plug-in and answers on `fd` until it closes. Returns the exit status: 0 after the
// socket closed, 1 when the plug-in cannot be loaded or has no media information export.
int serve_media_reads(const std::string& plugin_path, int fd);

class media_reader {
public:
    enum class outcome {
        read,       // the helper answered (the info may be empty: the plug-in could not describe the file)
        late,       // no answer within the limit; the helper was killed
        crashed,    // the helper died during the read
        unavailable // no helper could be started
    };
    struct answer {
        outcome how = outcome::unavailable;
        std::string info;
    };

    // One helper per concurrent reader; up to `max_helpers` idle ones are kept for the next reads.
    media_reader(std::string program, std::string plugin_path, int max_helpers);
    ~media_reader(); // closes the idle helpers, kills busy ones
    media_reader(const media_reader&) = delete;
    media_reader& operator=(const media_reader&) = delete;

    // Starts the first helper and waits at most `limit` for its "ready": false when it cannot run.
    bool start(std::chrono::milliseconds limit);
    // Callable from several threads; each call has a helper to itself.
    answer read(const std::string& path, std::chrono::milliseconds limit);
    // Reads a stream of paths on one helper, a few requests ahead of the answers so the helper never waits for a
    // round trip: `more` gives the next path (nullopt: none now, and the stream ends once all are answered);
    // `deliver` gets each path's answer in the order given. The limit counts per file.
    using path_source = std::function<std::optional<std::string>()>;
    using answer_sink = std::function<void(const std::string& path, answer a)>;
    void read_stream(const path_source& more, const answer_sink& deliver, std::chrono::milliseconds limit);
    static constexpr std::size_t max_requests_ahead = 8;
    int max_helpers() const { return max_helpers_; }
    // Helpers killed or lost so far.
    int replaced() const;
    // Helpers that are reading (or starting) right now.
    int busy() const;

private:
    struct helper {
        int pid = -1;
        int fd = -1;
    };
    std::optional<helper> spawn(std::chrono::milliseconds limit);
    std::optional<helper> take(std::chrono::milliseconds limit);
    void give_back(helper h);
    void end(helper h, bool kill_it); // lock not held
    void lost();

    const std::string program_, plugin_path_;
    const int max_helpers_;
    mutable std::mutex mutex_;
    std::vector<helper> idle_;
    int running_ = 0;
    int replaced_ = 0;
};

} // namespace karvo
