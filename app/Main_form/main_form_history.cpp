// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmMain: undo and redo of the virtual playlist, the question before unsaved edits are dropped, and the recovery
// copy that keeps them through a logout, a signal or a crash. Every registry command runs as one undo step; the
// few changes that do not come through the registry (drops, header clicks, the arrow buttons) are wrapped in place.
#include <QTimer>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/command_registry.h"
#include "app/Main_form/playlist_model.h"
#include "app/Main_form/playlist_pane.h"
#include "components/Statusicon/TStatusIcon.h"
#include "library/playlist_commands.h"
#include "library/recovery_copy.h"
#include "library/unsaved_changes.h"
#include "platform/file_system.h"
#include "platform/prompts.h"

namespace karvo {

void TfrmMain::declare_history_commands() {
    command_registry& r = *commands_;
    r.add({"mnuUndo", QStringLiteral("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z),
           [this] { return history_.can_undo(); }, [this] { mnuUndoClick(); }});
    r.add({"mnuRedo", QStringLiteral("Redo"), QKeySequence(Qt::CTRL | Qt::Key_Y),
           [this] { return history_.can_redo(); }, [this] { mnuRedoClick(); }});
    r.action("mnuRedo")->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // Undo and Redo restore a step themselves; every other command is one step.
    r.set_around([this](const command& invoked, const std::function<void()>& run) {
        if (invoked.id == "mnuUndo" || invoked.id == "mnuRedo")
            run();
        else
            undoable(invoked.caption.toStdString(), run);
    });
    playlist_->set_undo_steps([this](const std::string& what) { history_.begin(music_list, what); },
                              [this] {
                                  history_.end(music_list);
                                  playlist_changed();
                              });
    recovery_timer_ = new QTimer(this);
    recovery_timer_->setSingleShot(true);
    recovery_timer_->setInterval(recovery_delay_ms);
    connect(recovery_timer_, &QTimer::timeout, this, [this] { write_recovery_copy_now(); });
}

void TfrmMain::undoable(const std::string& what, const std::function<void()>& change) {
    history_.begin(music_list, what);
    struct ender {
        TfrmMain* window;
        ~ender() {
            window->history_.end(window->music_list);
            window->playlist_changed();
        }
    } end{this};
    change();
}

void TfrmMain::playlist_changed() {
    playlist_->model()->set_modified(history_.modified());
    commands_->set_caption("mnuUndo", QString::fromStdString(
                                          history_.can_undo() ? "Undo " + history_.undo_what() : std::string("Undo")));
    commands_->set_caption("mnuRedo", QString::fromStdString(
                                          history_.can_redo() ? "Redo " + history_.redo_what() : std::string("Redo")));
    // The copy follows within the delay: a burst of edits is written once, with all of them.
    if (history_.state() != recovery_state_ && recovery_timer_ && !recovery_timer_->isActive() && !data_folder.empty())
        recovery_timer_->start();
}

void TfrmMain::history_moved() {
    refresh_count();
    playlist_->model()->rows_changed(0, music_list.count() - 1);
    playlist_->select_positions({});
    if (!state_.current_playlist_name.empty())
        refresh_groupings(state_.current_playlist_name);
    playlist_changed();
}

void TfrmMain::mnuUndoClick() {
    if (history_.undo(music_list))
        history_moved();
}

void TfrmMain::mnuRedoClick() {
    if (history_.redo(music_list))
        history_moved();
}

void TfrmMain::list_replaced() {
    history_.clear();
    playlist_changed();
}

bool TfrmMain::settle_unsaved() {
    if (!history_.modified())
        return true;
    bool go_on = false;
    run_store_command([this, &go_on](store_context& context) {
        unsaved_outcome outcome = settle_unsaved_changes(context, history_);
        go_on = outcome.go_on;
        return outcome.saved;
    });
    playlist_changed();
    return go_on;
}

std::string TfrmMain::recovery_path() const {
    return data_folder + recovery_file_name;
}

void TfrmMain::write_recovery_copy_now() {
    if (recovery_timer_)
        recovery_timer_->stop();
    // A copy this run never wrote is not this run's to remove (it may still wait for its question).
    if (data_folder.empty() || (!history_.modified() && recovery_state_ == 0))
        return;
    // An unmodified list needs no copy; one left from before would offer edits that were saved or dropped.
    const bool written = history_.modified() ? write_recovery_copy(recovery_path(), state_, music_list)
                                             : (platform::delete_file(recovery_path()), true);
    if (written)
        recovery_state_ = history_.state();
}

void TfrmMain::offer_recovery() {
    std::optional<recovery_copy> copy = read_recovery_copy(recovery_path());
    if (!copy)
        return;
    shell_state kept;
    kept.PlaylistMode = copy->mode;
    kept.current_playlist_name = copy->playlist_name;
    kept.current_media_cd_name = copy->media_cd_name;
    const auto answer = environment_.prompts.message_box(
        "Karvo Media ended before the changes to \"" + shown_list_name(kept) +
            "\" were saved. Restore the unsaved playlist (" + std::to_string(copy->rows.count()) + " entries)?",
        msg_box_title, platform::message_buttons::yes_no, platform::message_icon::question);
    if (state_saved_)
        return; // the session ended while the question was open: the copy waits for the next start
    if (answer != platform::message_result::yes) {
        platform::delete_file(recovery_path());
        return;
    }
    music_list.restore_snapshot(copy->rows.take_snapshot());
    state_.PlaylistMode = copy->mode;
    state_.current_playlist_name = copy->playlist_name;
    state_.current_media_cd_name = copy->media_cd_name;
    history_.clear();
    history_.mark_modified();
    recovery_state_ = history_.state(); // the copy on disk is this list's now, to be replaced or removed
    refresh_count();
    playlist_->model()->rows_changed(0, music_list.count() - 1);
    refresh_location();
    playlist_changed();
}

void TfrmMain::end_by_session() {
    write_recovery_copy_now();
    save_state_once();
    IconTray->set_Enabled(false);
    if (environment_.terminate)
        environment_.terminate();
}

} // namespace karvo
