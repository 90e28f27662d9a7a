// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/playlist/history_controller.h"

#include <QAction>
#include <QTimer>

#include "app/Main_form/command_registry.h"
#include "app/Main_form/main_context.h"
#include "library/playlist_commands.h"
#include "library/recovery_copy.h"
#include "library/store_commands.h"
#include "library/unsaved_changes.h"
#include "platform/file_system.h"
#include "platform/prompts.h"

namespace karvo {

history_controller::history_controller(main_context& context, command_registry& commands, const areas& others,
                                       QObject* parent)
    : QObject(parent), context_(context), commands_(commands), others_(others) {
    declare_commands();
    recovery_timer_ = new QTimer(this);
    recovery_timer_->setSingleShot(true);
    recovery_timer_->setInterval(recovery_delay_ms);
    connect(recovery_timer_, &QTimer::timeout, this, [this] { write_recovery_copy_now(); });
}

void history_controller::declare_commands() {
    command_registry& r = commands_;
    r.add({.id = "mnuUndo",
           .caption = QStringLiteral("Undo"),
           .key = QKeySequence(Qt::CTRL | Qt::Key_Z),
           .enabled = [this] { return history_.can_undo(); },
           .handler = [this] { mnuUndoClick(); }});
    r.add({.id = "mnuRedo",
           .caption = QStringLiteral("Redo"),
           .key = QKeySequence(Qt::CTRL | Qt::Key_Y),
           .enabled = [this] { return history_.can_redo(); },
           .handler = [this] { mnuRedoClick(); }});
    r.action("mnuRedo")->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // Undo and Redo restore a step themselves; every other command is one step.
    r.set_around([this](const command& invoked, const std::function<void()>& run) {
        if (invoked.id == "mnuUndo" || invoked.id == "mnuRedo")
            run();
        else
            undoable(invoked.caption.toStdString(), run);
    });
}

void history_controller::begin_step(const std::string& what) {
    history_.begin(context_.music_list, what);
}

void history_controller::end_step() {
    history_.end(context_.music_list);
    changed();
}

void history_controller::narrowing(const std::string& what, const std::function<void()>& change) {
    const bool was_modified = history_.modified();
    undoable(what, change);
    if (!was_modified && history_.modified()) {
        history_.mark_also_saved();
        changed();
    }
}

void history_controller::changed() {
    others_.playlist->show_modified(history_.modified());
    commands_.set_caption("mnuUndo", QString::fromStdString(history_.can_undo() ? "Undo " + history_.undo_what()
                                                                                 : std::string("Undo")));
    commands_.set_caption("mnuRedo", QString::fromStdString(history_.can_redo() ? "Redo " + history_.redo_what()
                                                                                 : std::string("Redo")));
    // The copy follows within the delay: a burst of edits is written once, with all of them.
    if (history_.state() != recovery_state_ && !recovery_timer_->isActive() && !context_.data_folder.empty())
        recovery_timer_->start();
}

void history_controller::moved() {
    const int count = context_.music_list.count();
    others_.playlist->refresh_count();
    others_.playlist->rows_changed(0, count - 1);
    others_.playlist->select_positions({});
    if (!context_.state.current_playlist_name.empty())
        others_.navigation->refresh_groupings(context_.state.current_playlist_name);
    changed();
}

void history_controller::mnuUndoClick() {
    if (history_.undo(context_.music_list))
        moved();
}

void history_controller::mnuRedoClick() {
    if (history_.redo(context_.music_list))
        moved();
}

void history_controller::list_replaced() {
    history_.clear();
    changed();
}

void history_controller::list_saved(bool keep_step) {
    history_.mark_saved(keep_step);
    changed();
}

bool history_controller::settle_unsaved() {
    if (!history_.modified())
        return true;
    bool go_on = false;
    others_.stores->run([this, &go_on](store_context& context) {
        unsaved_outcome outcome = settle_unsaved_changes(context, history_);
        go_on = outcome.go_on;
        return outcome.saved;
    });
    changed();
    return go_on;
}

std::string history_controller::recovery_path() const {
    return context_.data_folder + recovery_file_name;
}

void history_controller::write_recovery_copy_now() {
    recovery_timer_->stop();
    // A copy this run never wrote is not this run's to remove (it may still wait for its question).
    if (context_.data_folder.empty() || (!history_.modified() && recovery_state_ == 0))
        return;
    // An unmodified list needs no copy; one left from before would offer edits that were saved or dropped.
    const bool written = history_.modified()
                             ? write_recovery_copy(recovery_path(), context_.state, context_.music_list)
                             : (platform::delete_file(recovery_path()), true);
    if (written)
        recovery_state_ = history_.state();
}

void history_controller::forget_recovery() {
    recovery_timer_->stop();
    platform::delete_file(recovery_path());
}

void history_controller::offer_recovery() {
    std::optional<recovery_copy> copy = read_recovery_copy(recovery_path());
    if (!copy)
        return;
    shell_state kept;
    kept.mode = PlaylistMode::from_value(copy->mode);
    kept.current_playlist_name = copy->playlist_name;
    kept.current_media_cd_name = copy->media_cd_name;
    const auto answer = context_.prompts().message_box(
        "Karvo Media ended before the changes to \"" + shown_list_name(kept) +
            "\" were saved. Restore the unsaved playlist (" + std::to_string(copy->rows.count()) + " entries)?",
        application_title, platform::message_buttons::yes_no, platform::message_icon::question);
    if (ending_)
        return; // the session ended while the question was open: the copy waits for the next start
    if (answer != platform::message_result::yes) {
        platform::delete_file(recovery_path());
        return;
    }
    context_.music_list.restore_snapshot(copy->rows.take_snapshot());
    context_.state.mode = kept.mode;
    context_.state.current_playlist_name = copy->playlist_name;
    context_.state.current_media_cd_name = copy->media_cd_name;
    history_.clear();
    history_.mark_modified();
    recovery_state_ = history_.state(); // the copy on disk is this list's now, to be replaced or removed
    others_.playlist->refresh_count();
    others_.playlist->rows_changed(0, context_.music_list.count() - 1);
    others_.frame->refresh_location();
    changed();
}

} // namespace karvo
