// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/Fsnotify/TFSNotify.h"

#include <sys/stat.h>

#include "components/Fsnotify/TThNotifyWalker.h"

namespace karvo {

TFSNotify::TFSNotify(platform::ui_dispatcher& dispatcher) : dispatcher_(dispatcher) {}

TFSNotify::~TFSNotify() {
    stop();
}

void TFSNotify::SetPath(const std::string& path) {
    const bool restart = Active();
    if (restart)
        stop();
    path_ = path;
    if (restart)
        start();
}

void TFSNotify::SetFilters(TNotifyFilters filters) {
    const bool restart = Active();
    if (restart)
        stop();
    filters_ = filters;
    if (restart)
        start();
}

bool TFSNotify::Active() const {
    return walker_ && !walker_->EndedByItself();
}

void TFSNotify::SetActive(bool value) {
    if (value == Active())
        return;
    // A walker that ended by itself is only cleared away; it is not touched otherwise.
    stop();
    if (value)
        start();
}

void TFSNotify::start() {
    TThNotifyWalker::settings s{path_, time_out_, filters_, sub_tree_, first_, settle_ms_, watch_budget_};
    // Each event looks up the current handler, so handlers assigned later are used; the walker runs none of them
    // after it was told to end, and it is told so before this object goes.
    TThNotifyWalker::events e{
        [this] {
            if (OnChange)
                OnChange(*this);
        },
        [this](std::uint32_t error, const std::string& message) {
            if (OnError)
                OnError(*this, error, message);
        },
        [this](const std::string& folder) {
            if (OnWatchLimit)
                OnWatchLimit(*this, folder);
        },
    };
    walker_ = std::make_shared<TThNotifyWalker>(std::move(s), std::move(e), dispatcher_);
    thread_ = std::thread([walker = walker_] { walker->Execute(); });
    // Files made after this returns are seen; the walker delivers nothing before, so this cannot wait on itself.
    walker_->WaitUntilWatching();
}

void TFSNotify::stop() {
    if (!walker_)
        return;
    const bool waits_for_caller = walker_->Terminate() || std::this_thread::get_id() == thread_.get_id();
    if (waits_for_caller)
        thread_.detach(); // it ends on its own as soon as the event it waits on has run
    else
        thread_.join();
    walker_.reset();
}

bool TFSNotify::FileComplete(const std::string& path) {
    if (walker_ && !walker_->EndedByItself())
        return walker_->files().is_complete(path);
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::vector<std::string> TFSNotify::ChangedFiles() const {
    if (walker_ && !walker_->EndedByItself())
        return walker_->files().changed();
    return {};
}

std::size_t TFSNotify::WatchedFolders() const {
    return walker_ ? walker_->watched_folders() : 0;
}

} // namespace karvo
