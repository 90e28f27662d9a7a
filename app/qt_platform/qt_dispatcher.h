// SPDX-License-Identifier: GPL-3.0-or-later
// Runs work on the Qt GUI thread for a worker thread and waits for it; on the GUI thread itself it runs at once.
#pragma once

#include "platform/dispatcher.h"

namespace karvo {

class qt_dispatcher final : public platform::ui_dispatcher {
public:
    void run_and_wait(const std::function<void()>& work) override;
};

// The program's one dispatcher. It outlives every worker (a timer or a folder watcher may still be handing over an
// event while the window goes), so it is never destroyed before the process ends.
platform::ui_dispatcher& gui_thread_dispatcher();

} // namespace karvo
