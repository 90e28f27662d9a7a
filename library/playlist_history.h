// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo of the virtual playlist, and whether it differs from what was last saved or loaded. Each step is a
// snapshot of the list before a change (sharing the store's pages, so it costs the row map) with the name of the
// command that made the change, for "Undo <what>" and "Redo <what>".
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "library/media_list.h"

namespace karvo {

class playlist_history {
public:
    static constexpr std::size_t default_limit = 100;
    explicit playlist_history(std::size_t limit = default_limit) : limit_(limit) {}

    // `before` is the list as it was before the change named `what`; the redo steps are dropped.
    void record(media_list::snapshot before, std::string what);
    // Runs `change`, which returns whether it changed the list, and records the step when it did.
    template <typename Change>
    bool change(media_list& list, std::string what, Change&& change) {
        media_list::snapshot before = list.take_snapshot();
        const bool changed = std::forward<Change>(change)();
        if (changed)
            record(std::move(before), std::move(what));
        return changed;
    }

    // A command that may change the list: begin before it, end after it; nested pairs make one step. The step is
    // recorded at the outermost end when the list was written meanwhile.
    void begin(const media_list& list, std::string what);
    void end(const media_list& list);

    bool can_undo() const { return !undo_.empty(); }
    bool can_redo() const { return !redo_.empty(); }
    // The command the next undo (redo) takes back (does again); empty when there is none.
    const std::string& undo_what() const;
    const std::string& redo_what() const;
    // Both return false and leave the list alone when there is no step.
    bool undo(media_list& list);
    bool redo(media_list& list);
    std::size_t undo_steps() const { return undo_.size(); }

    // The list as it is now is what its file holds. Inside a command a save is no edit: what it wrote (the list
    // names) joins the state before it, unless `keep_step` (a command that both changes and saves the list).
    void mark_saved(bool keep_step = false);
    // The list as it is now shows what its file holds, as the states marked before do too (a search that displays
    // the rows found): undo and redo between them leave the list unmodified.
    void mark_also_saved() { saved_states_.push_back(state_); }
    // The list differs from its file though no step says how (edits brought back from a recovery copy).
    void mark_modified() { saved_states_ = {++next_state_}; }
    // Another list is shown: no step leads back to the old one, and the new one is as loaded.
    void clear();
    bool modified() const;
    // Every change, undo and redo gives a new state number; equal numbers mean equal lists.
    unsigned long state() const { return state_; }

private:
    struct step {
        media_list::snapshot list;
        std::string what;
        unsigned long state;
    };
    static bool move_step(std::deque<step>& from, std::deque<step>& to, media_list& list, unsigned long& state);

    std::size_t limit_;
    int depth_ = 0;
    media_list::snapshot open_;
    std::string open_what_;
    bool open_dropped_ = false; // a load or a save inside the command: no step
    bool saved_at_end_ = false;
    std::deque<step> undo_;
    std::deque<step> redo_;
    unsigned long state_ = 0;
    unsigned long next_state_ = 0;
    std::vector<unsigned long> saved_states_{0};
};

} // namespace karvo
