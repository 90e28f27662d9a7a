// SPDX-License-Identifier: GPL-3.0-or-later
// Runs work on the Qt GUI thread for a worker thread and waits for it; on the GUI thread itself it runs at once.
#pragma once

#include "platform/dispatcher.h"

namespace karvo {

class qt_dispatcher final : public platform::ui_dispatcher {
public:
    void run_and_wait(const std::function<void()>& work) override;
};

} // namespace karvo
