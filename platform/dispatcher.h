// SPDX-License-Identifier: GPL-3.0-or-later
// Runs work on the user-interface thread: a worker thread hands a function over and waits until it has run.
#pragma once

#include <functional>

namespace karvo::platform {

class ui_dispatcher {
public:
    virtual ~ui_dispatcher() = default;
    // Runs `work` on the user-interface thread and returns when it has finished. Called from the UI thread itself
    // it runs `work` at once.
    virtual void run_and_wait(const std::function<void()>& work) = 0;
};

} // namespace karvo::platform
