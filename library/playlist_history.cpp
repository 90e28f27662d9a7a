// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_history.h"

#include <algorithm>

namespace karvo {

namespace {
const std::string nothing;
}

void playlist_history::record(media_list::snapshot before, std::string what) {
    undo_.push_back({std::move(before), std::move(what), state_});
    if (undo_.size() > limit_)
        undo_.pop_front();
    redo_.clear();
    state_ = ++next_state_;
}

const std::string& playlist_history::undo_what() const {
    return undo_.empty() ? nothing : undo_.back().what;
}

const std::string& playlist_history::redo_what() const {
    return redo_.empty() ? nothing : redo_.back().what;
}

bool playlist_history::move_step(std::deque<step>& from, std::deque<step>& to, media_list& list,
                                 unsigned long& state) {
    if (from.empty())
        return false;
    step taken = std::move(from.back());
    from.pop_back();
    to.push_back({list.take_snapshot(), taken.what, state});
    list.restore_snapshot(taken.list);
    state = taken.state;
    return true;
}

bool playlist_history::undo(media_list& list) {
    return move_step(undo_, redo_, list, state_);
}

bool playlist_history::redo(media_list& list) {
    return move_step(redo_, undo_, list, state_);
}

void playlist_history::begin(const media_list& list, std::string what) {
    if (depth_++ > 0)
        return;
    open_ = list.take_snapshot();
    open_what_ = std::move(what);
    open_dropped_ = false;
    saved_at_end_ = false;
}

void playlist_history::end(const media_list& list) {
    if (depth_ == 0 || --depth_ > 0)
        return;
    if (!open_dropped_ && !list.unchanged_since(open_))
        record(std::move(open_), std::move(open_what_));
    open_ = {};
    if (saved_at_end_)
        saved_states_ = {state_};
}

void playlist_history::mark_saved(bool keep_step) {
    if (depth_ > 0) {
        // New Playlist after saving the old list: its emptying is still a step.
        open_dropped_ = !keep_step;
        saved_at_end_ = true;
        return;
    }
    saved_states_ = {state_};
}

bool playlist_history::modified() const {
    return std::find(saved_states_.begin(), saved_states_.end(), state_) == saved_states_.end();
}

void playlist_history::clear() {
    if (depth_ > 0)
        open_dropped_ = true;
    undo_.clear();
    redo_.clear();
    state_ = ++next_state_;
    saved_states_ = {state_};
}

} // namespace karvo
