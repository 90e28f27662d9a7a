// SPDX-License-Identifier: GPL-3.0-or-later
// Walks a folder tree depth first and raises an event for every file found; TFileIteratorThread runs the same walk
// on a worker thread. Folders whose names begin with a dot are never entered, and a folder reached again through a
// link is not walked twice, so a link loop ends.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

namespace karvo {

enum TFileIteratorOption : unsigned {
    fiPath = 1,           // handlers get folder + "/" + name instead of the bare name
    fiDetails = 2,        // the file information record is filled
    fiRecurseFolders = 4, // sub-folders are walked too
};
using TFileIteratorOptions = unsigned;
constexpr TFileIteratorOptions all_file_iterator_options = fiPath | fiDetails | fiRecurseFolders;

// Only meaningful with fiDetails.
struct TFileInfo {
    std::uint32_t Size = 0; // low 32 bits of the file size
    std::uint32_t Time = 0; // packed DOS date and time of the last write, local time; 0 when out of its range
    std::uint32_t Attr = 0; // platform::file_attribute bits
};

class file_iterator_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* iterator_busy_text =
    "Iterator is not available at the moment. Please call later, but do call";
inline constexpr const char* options_on_fly_text = "Cannot change options on fly. Try later";

// Packs a time (seconds since the epoch) into the DOS form, in local time; 0 outside 1980..2107.
std::uint32_t dos_date_time(std::int64_t seconds);

class TFileIterator {
public:
    enum class state : std::uint8_t { idle, running, cancelling };

    using TNotifyEvent = std::function<void(TFileIterator& sender)>;
    using TAddFileQueryEvent =
        std::function<void(TFileIterator& sender, const std::string& file_name, const TFileInfo& info, bool& accept)>;
    using TAddFileEvent =
        std::function<void(TFileIterator& sender, const std::string& file_name, const TFileInfo& info)>;

    TFileIterator() = default;
    TFileIterator(const TFileIterator&) = delete;
    TFileIterator& operator=(const TFileIterator&) = delete;

    TNotifyEvent OnActivate;
    TAddFileQueryEvent OnAddFileQuery;
    TAddFileEvent OnAddFile;
    TNotifyEvent OnTerminate;

    const std::string& RootFolder() const { return root_folder_; }
    TFileIteratorOptions Options() const { return options_; }
    // Both throw file_iterator_error(options_on_fly_text) unless idle.
    void SetRootFolder(const std::string& folder);
    void SetOptions(TFileIteratorOptions options);

    // Runs one walk on the calling thread. Throws file_iterator_error(iterator_busy_text) unless idle; an exception
    // from a handler ends the walk, OnTerminate is still raised, the state returns to idle and the exception
    // reaches the caller.
    void Iterate();
    // A running walk stops before its next directory entry; safe from any thread.
    void Cancel();
    bool IsIdle() const { return state_.load() == state::idle; }
    state State() const { return state_.load(); }

private:
    friend class TFileIteratorThread;
    class walk;
    // `stop`, when given, ends the walk as Cancel does; the worker thread sets it even before the walk has begun.
    void run(const std::atomic<bool>* stop);
    void require_idle_for_change() const;

    std::string root_folder_ = "/";
    TFileIteratorOptions options_ = all_file_iterator_options;
    std::atomic<state> state_{state::idle};
};

// A walk on a worker thread. Configure `Iterator`, then Start. The destructor terminates and joins, so the object
// never outlives its thread nor leaks it; it may also be destroyed from its own completion callback.
class TFileIteratorThread {
public:
    // Called on the worker thread as the last thing it does; the error is what Iterate threw, or null.
    using completion = std::function<void(std::exception_ptr error)>;

    TFileIteratorThread() = default;
    ~TFileIteratorThread();
    TFileIteratorThread(const TFileIteratorThread&) = delete;
    TFileIteratorThread& operator=(const TFileIteratorThread&) = delete;

    TFileIterator Iterator;

    // Starts the worker; false when it was already started.
    bool Start(completion on_done = {});
    // Cancels the walk when it runs and asks the thread to end; a walk that has not begun yet does not begin.
    void Terminate();
    // Waits for the worker to end (not from the worker itself).
    void WaitFor();
    bool Finished() const { return finished_.load(); }

private:
    std::mutex start_gate_;
    std::thread thread_;
    bool started_ = false;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
};

} // namespace karvo
