// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo of the virtual playlist, the question before unsaved edits are dropped, and the recovery copy that
// keeps them through a logout, a signal or a crash. Every registry command runs as one undo step; the few changes
// that do not come through the registry (drops, clicks on the tree, header clicks) are wrapped where they happen.
#pragma once

#include <QObject>
#include <string>

#include "app/Main_form/areas.h"
#include "library/playlist_history.h"

class QTimer;

namespace karvo {

class command_registry;
struct main_context;

class history_controller : public QObject, public history_port {
    Q_OBJECT
public:
    history_controller(main_context& context, command_registry& commands, const areas& others, QObject* parent);

    playlist_history& history() { return history_; }
    void mnuUndoClick();
    void mnuRedoClick();
    void write_recovery_copy_now();
    // At start: a recovery copy left by a run that ended without saving is offered back.
    void offer_recovery();
    // The edits were saved or dropped on purpose: nothing is left to recover.
    void forget_recovery();
    std::string recovery_path() const;
    void set_ending() { ending_ = true; } // the session ended: a question still open must not act any more

    // history_port
    void begin_step(const std::string& what) override;
    void end_step() override;
    void narrowing(const std::string& what, const std::function<void()>& change) override;
    bool settle_unsaved() override;
    void list_replaced() override;
    void list_saved(bool keep_step) override;

private:
    void declare_commands();
    void changed(); // the modified mark, the Undo/Redo captions and the recovery copy follow
    void moved();   // undo or redo put back other rows

    main_context& context_;
    command_registry& commands_;
    const areas& others_;
    playlist_history history_;
    QTimer* recovery_timer_ = nullptr;
    unsigned long recovery_state_ = 0; // the history state the recovery copy (or its absence) reflects
    bool ending_ = false;
};

} // namespace karvo
