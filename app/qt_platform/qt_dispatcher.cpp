// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_platform/qt_dispatcher.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

namespace karvo {

void qt_dispatcher::run_and_wait(const std::function<void()>& work) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() == application->thread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(
        application, [&work] { work(); }, Qt::BlockingQueuedConnection);
}

platform::ui_dispatcher& gui_thread_dispatcher() {
    static qt_dispatcher dispatcher;
    return dispatcher;
}

} // namespace karvo
