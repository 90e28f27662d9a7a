// SPDX-License-Identifier: GPL-3.0-or-later
// A non-visual folder watcher: while Active, a worker thread (TThNotifyWalker) watches Path, and with SubTree every
// folder below it, and raises OnChange on the user-interface thread when something of the kinds in Filters
// happened there. New files signal once they are complete; FileComplete tells a scan which files are.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/dispatcher.h"

namespace karvo {

enum TNotifyFilter : unsigned {
    cFileName = 1,
    cDirName = 2,
    cAttributes = 4,
    cSize = 8,
    cLastWrite = 0x10,
    cSecurity = 0x100,
};
using TNotifyFilters = unsigned;

// Indexed by ErrNum; the message passed is the text followed by the watched path. The watch raises only 1.
inline constexpr const char* notify_error_texts[] = {"Directory must be exist ", "Not a Continued notify  "};

class TThNotifyWalker;

class TFSNotify {
public:
    using TNotifyEvent = std::function<void(TFSNotify& sender)>;
    using TErrorEvent = std::function<void(TFSNotify& sender, std::uint32_t ErrNum, const std::string& Message)>;
    using TFolderEvent = std::function<void(TFSNotify& sender, const std::string& folder)>;

    explicit TFSNotify(platform::ui_dispatcher& dispatcher);
    // Deactivates first.
    ~TFSNotify();
    TFSNotify(const TFSNotify&) = delete;
    TFSNotify& operator=(const TFSNotify&) = delete;

    // Raised on the user-interface thread.
    TNotifyEvent OnChange;
    // The watch ended by itself (the folder is gone or could not be watched); Active reads false from then on.
    TErrorEvent OnError;
    // The folder could not be watched because the watch budget is used up; raised once per activation, the
    // folders watched so far stay watched.
    TFolderEvent OnWatchLimit;

    const std::string& Path() const { return path_; }
    TNotifyFilters Filters() const { return filters_; }
    // Both restart a running watch; otherwise they only store the value.
    void SetPath(const std::string& path);
    void SetFilters(TNotifyFilters filters);

    // These are taken by the next activation.
    bool SubTree() const { return sub_tree_; }
    void SetSubTree(bool value) { sub_tree_ = value; }
    int TimeOut() const { return time_out_; }
    void SetTimeOut(int milliseconds) { time_out_ = milliseconds; } // -1: wait without limit
    bool First() const { return first_; }
    void SetFirst(bool value) { first_ = value; }
    // How long a file that was not seen closed must keep its size before it counts as complete.
    int SettleTime() const { return settle_ms_; }
    void SetSettleTime(int milliseconds) { settle_ms_ = milliseconds > 0 ? milliseconds : 1; }
    // Most folders one activation watches; 0: as many as the system allows.
    std::size_t WatchBudget() const { return watch_budget_; }
    void SetWatchBudget(std::size_t folders) { watch_budget_ = folders; }

    // True while a walker runs and has not ended by itself. Setting the current value does nothing; setting
    // false stops the walker at once, also while it waits without a time-out.
    bool Active() const;
    void SetActive(bool value);

    // Whether a file below the watched folder is complete; when it is not, a change follows once it is. Without a
    // running walker every existing file counts as complete.
    bool FileComplete(const std::string& path);
    // The files below the watched folder closed after writing or moved in since the last change was handled (so,
    // inside OnChange, those that led to it); empty while inactive. A file seen before may have changed again.
    std::vector<std::string> ChangedFiles() const;
    // Folders watched at the moment (0 while inactive).
    std::size_t WatchedFolders() const;

private:
    void start();
    void stop();

    platform::ui_dispatcher& dispatcher_;
    std::string path_;
    TNotifyFilters filters_ = cFileName;
    bool sub_tree_ = false;
    int time_out_ = -1;
    bool first_ = false;
    int settle_ms_ = 1000;
    std::size_t watch_budget_ = 0;
    std::shared_ptr<TThNotifyWalker> walker_;
    std::thread thread_;
};

} // namespace karvo
